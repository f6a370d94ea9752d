#include "legacyxfer/SendPage.h"

#include "legacyxfer/PortPresetBar.h"
#include "legacyxfer/SendSession.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

SendPage::SendPage(PresetBook& book, QWidget* parent)
    : QWidget(parent), bar_(new PortPresetBar(book)), file_(new QLineEdit),
      xonxoff_(new QRadioButton(tr("Wait when the instrument says so (XON/XOFF)"))),
      delay_(new QRadioButton(tr("Pause after every line:"))), delayMs_(new QSpinBox),
      progress_(new QProgressBar), send_(new QPushButton(tr("Send"))),
      cancel_(new QPushButton(tr("Cancel"))), summary_(new QLabel) {
    auto* browse = new QPushButton(tr("Browse..."));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(tr("File:")));
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);
    delayMs_->setRange(0, 60000);
    delayMs_->setValue(100);
    delayMs_->setSuffix(tr(" ms"));
    xonxoff_->setChecked(true);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(delay_);
    delayRow->addWidget(delayMs_);
    delayRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(send_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addLayout(fileRow);
    layout->addWidget(xonxoff_);
    layout->addLayout(delayRow);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(summary_);
    layout->addStretch();
    cancel_->setEnabled(false);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("File to send"), file_->text());
        if (!path.isEmpty()) {
            file_->setText(path);
        }
    });
    connect(send_, &QPushButton::clicked, this, &SendPage::Start);
    connect(cancel_, &QPushButton::clicked, this, &SendPage::Cancel);
}

SendPage::~SendPage() {
    cancelled_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

void SendPage::SetFile(const QString& path) {
    file_->setText(path);
}

void SendPage::UseLineDelay(int milliseconds) {
    delay_->setChecked(true);
    delayMs_->setValue(milliseconds);
}

void SendPage::Start() {
    if (worker_.joinable()) {
        return;
    }
    SendSession::Options options{
        bar_->Port().toStdString(), bar_->Preset(), file_->text().trimmed().toStdString(),
        xonxoff_->isChecked() ? SendSession::Pacing::XonXoff : SendSession::Pacing::LineDelay,
        std::chrono::milliseconds(delayMs_->value())};
    auto session = std::make_shared<SendSession>(std::move(options));
    if (const std::string why = session->Start(); !why.empty()) {
        summary_->setText(QString::fromStdString(why));
        return;
    }
    bar_->RememberChoice();
    cancelled_ = false;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    summary_->setText(tr("Sending..."));
    send_->setEnabled(false);
    cancel_->setEnabled(true);
    const std::uint64_t total = std::max<std::uint64_t>(1, session->TotalBytes());
    // The page outlives the worker: its destructor joins it.
    worker_ = std::thread([this, session, total] {
        const auto result = session->Run(
            [&](std::uint64_t bytes, std::uint64_t /*lines*/) {
                const int value = static_cast<int>(bytes * 1000 / total);
                QMetaObject::invokeMethod(
                    progress_, [this, value] { progress_->setValue(value); }, Qt::QueuedConnection);
            },
            [this] { return cancelled_.load(); });
        const QString message = QString::fromStdString(result.message);
        QMetaObject::invokeMethod(
            this, [this, ok = result.done, message] { Done(ok, message); }, Qt::QueuedConnection);
    });
}

void SendPage::Cancel() {
    cancelled_ = true;
}

void SendPage::Done(bool ok, const QString& message) {
    if (worker_.joinable()) {
        worker_.join();
    }
    if (ok) {
        progress_->setValue(progress_->maximum());
    }
    summary_->setText(message);
    send_->setEnabled(true);
    cancel_->setEnabled(false);
    emit Finished();
}

QString SendPage::Summary() const {
    return summary_->text();
}

int SendPage::Progress() const {
    return progress_->value();
}
