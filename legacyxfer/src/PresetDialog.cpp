#include "legacyxfer/PresetDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QComboBox* Choice(const QStringList& items, int current) {
    auto* box = new QComboBox;
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

} // namespace

PresetDialog::PresetDialog(const LinePreset& preset, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(QString::fromStdString(preset.name))),
      baud_(Choice({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}, 0)),
      dataBits_(Choice({"7", "8"}, preset.dataBits == 7 ? 0 : 1)),
      parity_(Choice({tr("None"), tr("Odd"), tr("Even")}, preset.parity)),
      stopBits_(Choice({"1", "2"}, preset.stopBits)),
      flow_(Choice({tr("None"), tr("XON/XOFF"), tr("RTS/CTS")}, static_cast<int>(preset.flow))),
      lineEnd_(Choice({"CR LF", "CR", "LF"}, static_cast<int>(preset.lineEnd))),
      marker_(new QLineEdit), silence_(new QDoubleSpinBox) {
    setWindowTitle(tr("Line settings"));
    baud_->setEditable(true);
    baud_->setCurrentText(QString::number(preset.baud));
    marker_->setText(QString::fromLatin1(QByteArray::fromStdString(preset.endMarker).toHex()));
    marker_->setPlaceholderText(tr("none; in hex, 03 for end of text"));
    silence_->setRange(0.1, 3600);
    silence_->setSuffix(tr(" s"));
    silence_->setValue(preset.endSilence);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Name:"), name_);
    form->addRow(tr("Baud rate:"), baud_);
    form->addRow(tr("Data bits:"), dataBits_);
    form->addRow(tr("Parity:"), parity_);
    form->addRow(tr("Stop bits:"), stopBits_);
    form->addRow(tr("Flow control:"), flow_);
    form->addRow(tr("Line end:"), lineEnd_);
    form->addRow(tr("End marker:"), marker_);
    form->addRow(tr("End after silence:"), silence_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PresetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PresetDialog::reject);
}

LinePreset PresetDialog::Preset() const {
    LinePreset preset;
    preset.name = name_->text().trimmed().toStdString();
    preset.baud = baud_->currentText().toLong();
    preset.dataBits = dataBits_->currentText().toInt();
    preset.parity = parity_->currentIndex();
    preset.stopBits = stopBits_->currentIndex();
    preset.flow = static_cast<LinePreset::Flow>(flow_->currentIndex());
    preset.lineEnd = static_cast<LinePreset::LineEnd>(lineEnd_->currentIndex());
    preset.endMarker = QByteArray::fromHex(marker_->text().toLatin1()).toStdString();
    preset.endSilence = silence_->value();
    return preset;
}

void PresetDialog::accept() {
    if (const std::string problem = Preset().Problem(); !problem.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(problem));
        return;
    }
    QDialog::accept();
}
