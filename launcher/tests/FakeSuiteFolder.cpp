#include "FakeSuiteFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FakeSuiteFolder::FakeSuiteFolder() = default;

QString FakeSuiteFolder::LauncherPath() const {
    return dir_.filePath(QStringLiteral("suitepad"));
}

QString FakeSuiteFolder::ToolPath(const QString& tool) const {
    return dir_.filePath(tool);
}

void FakeSuiteFolder::AddTool(const QString& tool) {
    QFile script(ToolPath(tool));
    if (!script.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(script.fileName()));
    }
    const QString log = dir_.filePath(QStringLiteral("starts.log"));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s|%s\\n' \"$0\" \"$(pwd -P)\" >> '%1'\n")
                     .arg(log)
                     .toUtf8());
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

QStringList FakeSuiteFolder::Starts() const {
    QFile log(dir_.filePath(QStringLiteral("starts.log")));
    if (!log.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

ScopedCurrentFolder::ScopedCurrentFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    QDir::setCurrent(previous_);
}

QString ScopedCurrentFolder::Path() const {
    return QFileInfo(dir_.path()).canonicalFilePath();
}
