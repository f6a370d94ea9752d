#pragma once

#include "drawexport/ExportInput.h"
#include "drawexport/ExportSettings.h"
#include "fielddata/PointExtents.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class QThread;

// Runs one export at a time on a thread of its own, so the window stays
// responsive, and reports on the window's thread: progress now and then,
// and the end. Going away cancels a running export and waits for it.
class ExportWorker : public QObject {
    Q_OBJECT

public:
    explicit ExportWorker(QObject* parent = nullptr);
    ~ExportWorker() override;

    // The inputs must stay as they are until finished() is emitted.
    void Start(std::vector<const ExportInput*> inputs, const PointExtents& extents,
               const ExportSettings& settings, const QString& output);
    void Cancel();
    bool Running() const { return thread_ != nullptr; }

signals:
    void progress(qint64 written, qint64 total);
    // error is empty when the output is in place.
    void finished(const QString& error, qint64 written);

private:
    void Done(const QString& error, qint64 written);

    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancelled_{false};
};
