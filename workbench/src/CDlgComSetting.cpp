#include "workbench/CDlgComSetting.h"

#include "ui_DlgComSetting.h"

#include <QShowEvent>

namespace {
// What a port never configured opens with.
const ComSettingChoice kFixed{QString(),
                              QStringLiteral("X4 SERIES"),
                              QStringLiteral("19200"),
                              QStringLiteral("NONE"),
                              QStringLiteral("1"),
                              QStringLiteral("8"),
                              QStringLiteral("\\R\\N")};
} // namespace

CDlgComSetting::CDlgComSetting(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CDlgComSetting>()) {
    ui_->setupUi(this);
    connect(ui_->portBox, &QComboBox::currentTextChanged, this, &CDlgComSetting::OnPortChosen);
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

void CDlgComSetting::SetStoredChoices(const QMap<QString, ComSettingChoice>& stored) {
    stored_ = stored;
}

void CDlgComSetting::accept() {
    choice_ = ComSettingChoice{ui_->portBox->currentText(),     ui_->instrumentBox->currentText(),
                               ui_->baudBox->currentText(),     ui_->parityBox->currentText(),
                               ui_->stopBitsBox->currentText(), ui_->dataBitsBox->currentText(),
                               ui_->endMarkBox->currentText()};
    QDialog::accept();
}

void CDlgComSetting::showEvent(QShowEvent* event) {
    // Every opening shows what the ports hold now, whatever was chosen last.
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgComSetting::InitDialog() {
    ui_->portBox->clear();
    ui_->portBox->addItems(preselectedPort_.isEmpty() ? portNames_ : QStringList{preselectedPort_});
    ui_->portBox->setCurrentIndex(0);
    Select(ui_->instrumentBox, kFixed.instrument);
    Select(ui_->endMarkBox, kFixed.endMark);
    OnPortChosen();
}

void CDlgComSetting::OnPortChosen() {
    const QString port = ui_->portBox->currentText();
    ui_->deviceLabel->setText(descriptions_.value(port));
    // OK on a configured port must keep what it holds, not put it back to
    // the fixed selections.
    const auto stored = stored_.constFind(port);
    const ComSettingChoice& shown = stored != stored_.cend() ? *stored : kFixed;
    Select(ui_->baudBox, shown.baudRate);
    Select(ui_->parityBox, shown.parity);
    Select(ui_->stopBitsBox, shown.stopBits);
    Select(ui_->dataBitsBox, shown.dataBits);
}

void CDlgComSetting::Select(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}
