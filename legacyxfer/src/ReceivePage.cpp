#include "legacyxfer/ReceivePage.h"

#include "legacyxfer/CaptureSession.h"
#include "legacyxfer/DrawExportRun.h"
#include "legacyxfer/PointFileExport.h"
#include "legacyxfer/PortPresetBar.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 100;
// The view keeps the latest lines; the file keeps them all.
constexpr int kShownLines = 20000;

} // namespace

ReceivePage::ReceivePage(PresetBook& book, Confirm confirm, QWidget* parent)
    : QWidget(parent), confirm_(std::move(confirm)), bar_(new PortPresetBar(book)),
      file_(new QLineEdit),
      points_(new QCheckBox(tr("Also save the points as a point file (.dat)"))),
      export_(new QLineEdit), start_(new QPushButton(tr("Start"))),
      stop_(new QPushButton(tr("Stop"))), cancel_(new QPushButton(tr("Cancel"))),
      counts_(new QLabel), summary_(new QLabel), log_(new QPlainTextEdit),
      timer_(new QTimer(this)) {
    auto* browse = new QPushButton(tr("Browse..."));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(tr("Save as:")));
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(kShownLines);
    log_->setFont(QFont(QStringLiteral("monospace")));
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addLayout(fileRow);
    layout->addWidget(points_);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(new QLabel(tr("Also export for CAD/GIS to:")));
    exportRow->addWidget(export_, 1);
    export_->setPlaceholderText(tr("nothing; or a .dxf, .gpkg, .geojson, .kml, .shp or .csv file"));
    layout->addLayout(exportRow);
    layout->addLayout(buttons);
    layout->addWidget(counts_);
    layout->addWidget(log_, 1);
    layout->addWidget(summary_);
    stop_->setEnabled(false);
    cancel_->setEnabled(false);
    ShowCounts();
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Save the capture as"), file_->text(), tr("GSI jobs (*.gsi);;All files (*)"),
            nullptr, QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty()) {
            file_->setText(path);
        }
    });
    connect(start_, &QPushButton::clicked, this, &ReceivePage::Start);
    connect(stop_, &QPushButton::clicked, this, &ReceivePage::Stop);
    connect(cancel_, &QPushButton::clicked, this, &ReceivePage::Cancel);
    connect(timer_, &QTimer::timeout, this, &ReceivePage::Poll);
}

ReceivePage::~ReceivePage() = default;

void ReceivePage::SetFile(const QString& path) {
    file_->setText(path);
}

void ReceivePage::Start() {
    const QString file = file_->text().trimmed();
    if (file.isEmpty() || session_) {
        summary_->setText(tr("Choose the file to save the capture as."));
        return;
    }
    const QString part = QString::fromStdString(CaptureSession::PartPath(file.toStdString()));
    bool overwrite = false;
    for (const QString& path : {file, part}) {
        if (QFileInfo::exists(path) && !overwrite) {
            if (!confirm_(tr("%1 exists. Replace it with the new capture?").arg(path))) {
                summary_->setText(tr("%1 is kept; nothing was received.").arg(path));
                return;
            }
            overwrite = true;
        }
    }
    session_ = std::make_unique<CaptureSession>(CaptureSession::Options{
        bar_->Port().toStdString(), bar_->Preset(), file.toStdString(), overwrite});
    if (const std::string why = session_->Start(); !why.empty()) {
        session_.reset();
        summary_->setText(QString::fromStdString(why));
        return;
    }
    bar_->RememberChoice();
    log_->clear();
    summary_->setText(tr("Waiting for the instrument to send (choose \"send\" on it)..."));
    start_->setEnabled(false);
    stop_->setEnabled(true);
    cancel_->setEnabled(true);
    bar_->setEnabled(false);
    timer_->start(kPollMs);
}

void ReceivePage::Stop() {
    if (session_) {
        session_->Stop();
        Poll();
    }
}

void ReceivePage::Cancel() {
    if (session_) {
        session_->Cancel();
        Poll();
    }
}

void ReceivePage::Poll() {
    if (!session_) {
        return;
    }
    const bool ended = session_->Poll(std::chrono::milliseconds(0));
    ShowLines();
    ShowCounts();
    if (ended) {
        End();
    }
}

void ReceivePage::ShowLines() {
    for (const CheckedLine& line : session_->TakeLines()) {
        log_->appendPlainText(QStringLiteral("%1  %2")
                                  .arg(line.number, 5)
                                  .arg(QString::fromLatin1(
                                      line.text.data(), static_cast<qsizetype>(line.text.size()))));
        for (const std::string& note : line.notes) {
            log_->appendHtml(
                QStringLiteral("<span style=\"color:#b00020; white-space:pre\">       ^ %1</span>")
                    .arg(QString::fromStdString(note).toHtmlEscaped()));
        }
    }
}

void ReceivePage::End() {
    timer_->stop();
    const auto result = session_->Finish();
    ShowLines();
    ShowCounts();
    QString text = QString::fromStdString(result.message);
    if (result.saved && points_->isChecked()) {
        const std::string dat = QFileInfo(file_->text()).path().toStdString() + "/" +
                                QFileInfo(file_->text()).completeBaseName().toStdString() + ".dat";
        bool overwrite = !QFileInfo::exists(QString::fromStdString(dat)) ||
                         confirm_(tr("%1 exists. Replace it?").arg(QString::fromStdString(dat)));
        const auto points = overwrite ? PointFileExport::Write(result.savedPath, dat, true)
                                      : PointFileExport::Result{false, 0, {}, dat + " is kept"};
        text += QStringLiteral("\n") + QString::fromStdString(points.message);
    }
    const QString exportTo = export_->text().trimmed();
    if (result.saved && !exportTo.isEmpty()) {
        const bool exists = QFileInfo::exists(exportTo);
        if (exists && !confirm_(tr("%1 exists. Replace it?").arg(exportTo))) {
            text += tr("\n%1 is kept.").arg(exportTo);
        } else {
            const auto exported =
                DrawExportRun::Run(result.savedPath, exportTo.toStdString(), exists);
            text +=
                QStringLiteral("\n") + (exported.done ? tr("Exported to %1.").arg(exportTo)
                                                      : QString::fromStdString(exported.message));
        }
    }
    const CaptureCounts counts = session_->Counts();
    if (counts.blockJumps + counts.lineErrors + counts.overruns + counts.badBytes > 0) {
        text += tr("\nProblems: %1 lost-block jumps, %2 parity/framing errors, %3 overruns, %4 "
                   "stray bytes (marked in the list above).")
                    .arg(counts.blockJumps)
                    .arg(counts.lineErrors)
                    .arg(counts.overruns)
                    .arg(counts.badBytes);
    }
    summary_->setText(text);
    session_.reset();
    start_->setEnabled(true);
    stop_->setEnabled(false);
    cancel_->setEnabled(false);
    bar_->setEnabled(true);
    emit Finished();
}

void ReceivePage::ShowCounts() {
    const CaptureCounts counts = session_ ? session_->Counts() : CaptureCounts{};
    counts_->setText(tr("%1 lines, %2 bytes, %3 GSI blocks, %4 points")
                         .arg(counts.lines)
                         .arg(counts.bytes)
                         .arg(counts.blocks)
                         .arg(counts.points));
}

QString ReceivePage::Summary() const {
    return summary_->text();
}

QString ReceivePage::Log() const {
    return log_->toPlainText();
}
