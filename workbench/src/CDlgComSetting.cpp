#include "workbench/CDlgComSetting.h"

#include "ui_DlgComSetting.h"

#include <QShowEvent>

CDlgComSetting::CDlgComSetting(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CDlgComSetting>()) {
    ui_->setupUi(this);
    connect(ui_->portBox, &QComboBox::currentTextChanged, this,
            &CDlgComSetting::ShowPortDescription);
}

CDlgComSetting::~CDlgComSetting() = default;

void CDlgComSetting::SetPortNames(const QStringList& names) {
    portNames_ = names;
}

void CDlgComSetting::SetPreselectedPort(const QString& name) {
    preselectedPort_ = name;
}

void CDlgComSetting::SetPortDescriptions(const QMap<QString, QString>& descriptions) {
    descriptions_ = descriptions;
}

void CDlgComSetting::accept() {
    choice_ = ComSettingChoice{ui_->portBox->currentText(),     ui_->instrumentBox->currentText(),
                               ui_->baudBox->currentText(),     ui_->parityBox->currentText(),
                               ui_->stopBitsBox->currentText(), ui_->dataBitsBox->currentText(),
                               ui_->endMarkBox->currentText()};
    QDialog::accept();
}

void CDlgComSetting::showEvent(QShowEvent* event) {
    // Every opening starts from the same selections, whatever was chosen last.
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgComSetting::InitDialog() {
    ui_->portBox->clear();
    ui_->portBox->addItems(preselectedPort_.isEmpty() ? portNames_ : QStringList{preselectedPort_});
    ui_->portBox->setCurrentIndex(0);
    ShowPortDescription();
    Select(ui_->instrumentBox, QStringLiteral("X4 SERIES"));
    Select(ui_->baudBox, QStringLiteral("19200"));
    Select(ui_->parityBox, QStringLiteral("NONE"));
    Select(ui_->stopBitsBox, QStringLiteral("1"));
    Select(ui_->dataBitsBox, QStringLiteral("8"));
    Select(ui_->endMarkBox, QStringLiteral("\\R\\N"));
}

void CDlgComSetting::ShowPortDescription() {
    ui_->deviceLabel->setText(descriptions_.value(ui_->portBox->currentText()));
}

void CDlgComSetting::Select(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}
