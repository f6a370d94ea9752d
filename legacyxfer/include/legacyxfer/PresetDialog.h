#pragma once

#include "legacyxfer/LinePreset.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

// Edits a preset's settings and the name it is kept under; refuses
// settings the port could not take.
class PresetDialog : public QDialog {
    Q_OBJECT
public:
    PresetDialog(const LinePreset& preset, QWidget* parent = nullptr);
    LinePreset Preset() const;

    void accept() override;

private:
    QLineEdit* name_;
    QComboBox* baud_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QComboBox* flow_;
    QComboBox* lineEnd_;
    QLineEdit* marker_;
    QDoubleSpinBox* silence_;
};
