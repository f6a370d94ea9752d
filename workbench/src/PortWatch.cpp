#include "workbench/PortWatch.h"

#include <QDir>

PortWatch::PortWatch(const std::vector<std::string>& folders, QObject* parent) : QObject(parent) {
    for (const std::string& folder : folders) {
        const QString path = QString::fromStdString(folder);
        if (QDir(path).exists()) {
            watcher_.addPath(path);
        }
    }
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &quiet_, qOverload<>(&QTimer::start));
    connect(&quiet_, &QTimer::timeout, this, &PortWatch::Changed);
}
