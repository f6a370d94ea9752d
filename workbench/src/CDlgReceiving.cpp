#include "workbench/CDlgReceiving.h"

#include "ui_DlgReceiving.h"

#include <QShowEvent>

#include <algorithm>

CDlgReceiving::CDlgReceiving(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CDlgReceiving>()) {
    ui_->setupUi(this);
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &CDlgReceiving::Refresh);
}

CDlgReceiving::~CDlgReceiving() = default;

void CDlgReceiving::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgReceiving::OnInitDialog() {
    setWindowTitle(caption);
    ui_->text1033->setText(fileType);
    ui_->text1034->setText(source);
    ui_->text1035->setText(destination);
    ui_->text1036->setText(block);
    ShowScale();
    ui_->progress1038->setValue(0);
    ui_->okButton->setVisible(showOk);
    steps_ = 0;
    meter_.emplace(static_cast<std::size_t>(std::max(0, total)), TransferMeter::Clock::now());
    ui_->labelRate->clear();
    refresh_.start();
}

// The scale under the bar: its start, its middle and its end.
void CDlgReceiving::ShowScale() {
    ui_->text1015->setText(totalText);
    ui_->labelScaleMiddle->setText(QString::number(std::max(0, total) / 2));
    ui_->progress1038->setRange(0, std::max(0, total));
}

void CDlgReceiving::SetTotal(std::int32_t announced) {
    total = std::max(announced, steps_);
    totalText = QString::number(total);
    ShowScale();
    if (meter_) {
        meter_->SetTotal(static_cast<std::size_t>(total));
    }
}

void CDlgReceiving::hideEvent(QHideEvent* event) {
    refresh_.stop();
    QDialog::hideEvent(event);
}

void CDlgReceiving::SetDone(std::int32_t lines) {
    steps_ = lines;
}

void CDlgReceiving::Refresh() {
    if (!meter_) {
        return;
    }
    // The bar keeps its position at its end, so the count stops one past it.
    ui_->progress1038->setValue(std::min(steps_, ui_->progress1038->maximum()));
    const int shown = std::min(steps_, ui_->progress1038->maximum() + 1);
    ui_->text1036->setText(steps_ > 0 ? QString::number(shown) : block);
    meter_->Sample(TransferMeter::Clock::now(), static_cast<std::size_t>(steps_),
                   bytesDone ? bytesDone() : 0);
    ui_->labelRate->setText(QString::fromStdString(meter_->Summary()));
}

QString CDlgReceiving::RateText() const {
    return ui_->labelRate->text();
}

int CDlgReceiving::Position() const {
    return ui_->progress1038->value();
}

QString CDlgReceiving::BlockText() const {
    return ui_->text1036->text();
}
