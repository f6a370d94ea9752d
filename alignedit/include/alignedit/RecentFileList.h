#pragma once

#include <QStringList>

class QSettings;

// The recent-file list: the last files opened or saved under their own
// name, newest first, each once, at most kSize of them. Kept in the
// program's settings under "Recent File List" as File1, File2, ...
class RecentFileList {
public:
    static constexpr int kSize = 4;

    const QStringList& Files() const { return files_; }

    // Puts the file (made absolute) first.
    void Add(const QString& path);
    void Remove(const QString& path);

    void Read(QSettings& settings);
    void Write(QSettings& settings) const;

private:
    QStringList files_;
};
