#include "legacyxfer/PortPresetBar.h"

#include "legacyxfer/PresetBook.h"
#include "legacyxfer/PresetDialog.h"
#include "platform/ComPortMap.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

PortPresetBar::PortPresetBar(PresetBook& book, QWidget* parent)
    : QWidget(parent), book_(book), port_(new QComboBox), preset_(new QComboBox),
      settings_(new QLabel) {
    port_->setEditable(true);
    port_->setToolTip(tr("A COM name, or a device path such as /dev/ttyUSB0"));
    auto* edit = new QPushButton(tr("Settings..."));
    auto* presetRow = new QHBoxLayout;
    presetRow->addWidget(preset_, 1);
    presetRow->addWidget(edit);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("Port:"), port_);
    form->addRow(tr("Preset:"), presetRow);
    form->addRow(QString(), settings_);
    FillPorts();
    FillPresets();
    connect(port_, &QComboBox::currentTextChanged, this, [this] { PortChanged(); });
    connect(preset_, &QComboBox::currentIndexChanged, this, [this] { ShowSettings(); });
    connect(edit, &QPushButton::clicked, this, [this] { EditPreset(); });
    PortChanged();
}

void PortPresetBar::FillPorts() {
    const QString current = port_->currentText();
    port_->clear();
    const ComPortMap ports = ComPortMap::System();
    for (const ComPort& port : ports.Ports()) {
        port_->addItem(
            QString::fromStdString(port.name + "  (" + port.device + ", " + port.description + ")"),
            QString::fromStdString(port.name));
    }
    if (!current.isEmpty()) {
        SetPort(current);
    }
}

void PortPresetBar::FillPresets() {
    const QString current = preset_->currentText();
    const QSignalBlocker quiet(preset_);
    preset_->clear();
    for (const LinePreset& preset : book_.All()) {
        preset_->addItem(QString::fromStdString(preset.name));
    }
    if (const int at = preset_->findText(current); at >= 0) {
        preset_->setCurrentIndex(at);
    }
    ShowSettings();
}

QString PortPresetBar::Port() const {
    const int at = port_->findText(port_->currentText());
    return at >= 0 && port_->itemData(at).isValid() ? port_->itemData(at).toString()
                                                    : port_->currentText().trimmed();
}

LinePreset PortPresetBar::Preset() const {
    const LinePreset* preset = book_.Find(preset_->currentText().toStdString());
    return preset != nullptr ? *preset : LinePreset::BuiltIn().front();
}

void PortPresetBar::SetPort(const QString& port) {
    const int at = port_->findData(port);
    if (at >= 0) {
        port_->setCurrentIndex(at);
    } else {
        port_->setEditText(port);
    }
}

void PortPresetBar::RememberChoice() {
    book_.SetLastFor(Port().toStdString(), preset_->currentText().toStdString());
    if (const std::string why = book_.Save(); !why.empty()) {
        settings_->setText(
            tr("The presets could not be kept: %1").arg(QString::fromStdString(why)));
    }
}

void PortPresetBar::PortChanged() {
    const QString last = QString::fromStdString(book_.LastFor(Port().toStdString()));
    if (const int at = preset_->findText(last); !last.isEmpty() && at >= 0) {
        preset_->setCurrentIndex(at);
    }
}

void PortPresetBar::EditPreset() {
    PresetDialog dialog(Preset(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const LinePreset edited = dialog.Preset();
    book_.Keep(edited);
    if (const std::string why = book_.Save(); !why.empty()) {
        QMessageBox::warning(this, tr("Presets"), QString::fromStdString(why));
    }
    FillPresets();
    preset_->setCurrentIndex(preset_->findText(QString::fromStdString(edited.name)));
}

void PortPresetBar::ShowSettings() {
    static const char* const kParity[] = {"N", "O", "E"};
    static const char* const kFlow[] = {"no flow control", "XON/XOFF", "RTS/CTS"};
    const LinePreset preset = Preset();
    settings_->setText(
        tr("%1 baud, %2%3%4, %5, ends after %6 s of silence%7")
            .arg(preset.baud)
            .arg(preset.dataBits)
            .arg(QLatin1String(kParity[preset.parity]))
            .arg(preset.stopBits + 1)
            .arg(QLatin1String(kFlow[static_cast<int>(preset.flow)]))
            .arg(preset.endSilence)
            .arg(preset.endMarker.empty() ? QString() : tr(" or on its end marker")));
}
