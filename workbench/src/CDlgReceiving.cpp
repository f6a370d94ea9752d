#include "workbench/CDlgReceiving.h"

#include "ui_DlgReceiving.h"

#include <QShowEvent>

#include <algorithm>

CDlgReceiving::CDlgReceiving(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CDlgReceiving>()) {
    ui_->setupUi(this);
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
    // The scale under the bar: its start, its middle and its end.
    ui_->text1015->setText(totalText);
    ui_->labelScaleMiddle->setText(QString::number(std::max(0, total) / 2));
    ui_->progress1038->setRange(0, std::max(0, total));
    ui_->progress1038->setValue(0);
    ui_->okButton->setVisible(showOk);
}

void CDlgReceiving::Step() {
    // The bar keeps its position at its end, so the count stops one past it.
    const int next = ui_->progress1038->value() + 1;
    ui_->progress1038->setValue(std::min(next, ui_->progress1038->maximum()));
    ui_->text1036->setText(QString::number(next));
}

int CDlgReceiving::Position() const {
    return ui_->progress1038->value();
}

QString CDlgReceiving::BlockText() const {
    return ui_->text1036->text();
}
