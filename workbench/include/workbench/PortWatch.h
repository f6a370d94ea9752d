#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <string>
#include <vector>

// Tells when serial ports may have come or gone: a device file appearing or
// going in one of the watched folders (inotify). A burst of changes, as a
// USB adapter being plugged in makes (device, by-id link, permissions),
// gives one notice once the folders have been quiet for a moment.
class PortWatch : public QObject {
    Q_OBJECT

public:
    explicit PortWatch(const std::vector<std::string>& folders, QObject* parent = nullptr);

signals:
    void Changed();

private:
    static constexpr int kQuietMs = 250;

    QFileSystemWatcher watcher_;
    QTimer quiet_;
};
