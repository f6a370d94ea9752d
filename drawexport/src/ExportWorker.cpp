#include "drawexport/ExportWorker.h"

#include "drawexport/ExportRun.h"

#include <QThread>

ExportWorker::ExportWorker(QObject* parent) : QObject(parent) {}

ExportWorker::~ExportWorker() {
    if (thread_) {
        Cancel();
        thread_->wait();
    }
}

// The thread only posts to this object and never waits for the window's
// thread, so the window may wait for it.
void ExportWorker::Start(std::vector<const ExportInput*> inputs, const PointExtents& extents,
                         const ExportSettings& settings, const QString& output) {
    cancelled_ = false;
    thread_.reset(QThread::create([this, inputs = std::move(inputs), extents, settings,
                                   path = output.toStdString()] {
        ExportRun run(settings, path);
        const auto problem =
            run.Write(inputs, extents, [this](std::size_t written, std::size_t total) {
                QMetaObject::invokeMethod(
                    this, [this, written, total] { emit progress(qint64(written), qint64(total)); },
                    Qt::QueuedConnection);
                return !cancelled_;
            });
        const QString error = problem ? QString::fromStdString(*problem) : QString();
        const auto written = static_cast<qint64>(run.Written());
        QMetaObject::invokeMethod(
            this, [this, error, written] { Done(error, written); }, Qt::QueuedConnection);
    }));
    thread_->start();
}

void ExportWorker::Cancel() {
    cancelled_ = true;
}

void ExportWorker::Done(const QString& error, qint64 written) {
    thread_->wait();
    thread_.reset();
    emit finished(error, written);
}
