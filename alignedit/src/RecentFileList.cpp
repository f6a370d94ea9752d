#include "alignedit/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString kGroup = QStringLiteral("Recent File List");

QString Key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

void RecentFileList::Add(const QString& path) {
    const QString absolute = Absolute(path);
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kSize) {
        files_.removeLast();
    }
}

void RecentFileList::Remove(const QString& path) {
    files_.removeAll(Absolute(path));
}

void RecentFileList::Read(QSettings& settings) {
    files_.clear();
    settings.beginGroup(kGroup);
    for (int i = 0; i < kSize; ++i) {
        const QString file = settings.value(Key(i)).toString();
        if (!file.isEmpty() && !files_.contains(file)) {
            files_.append(file);
        }
    }
    settings.endGroup();
}

void RecentFileList::Write(QSettings& settings) const {
    settings.beginGroup(kGroup);
    for (int i = 0; i < kSize; ++i) {
        if (i < files_.size()) {
            settings.setValue(Key(i), files_[i]);
        } else {
            settings.remove(Key(i));
        }
    }
    settings.endGroup();
    settings.sync();
}
