#pragma once

#include "legacyxfer/LinePreset.h"

#include <QWidget>

class PresetBook;
class QComboBox;
class QLabel;

// The port and the preset to use on it, shared by the receive and send
// pages: choosing a port brings back the preset last used there; the
// preset's settings can be edited and kept under a name.
class PortPresetBar : public QWidget {
    Q_OBJECT
public:
    PortPresetBar(PresetBook& book, QWidget* parent = nullptr);

    // A COM name or a device path typed in.
    QString Port() const;
    LinePreset Preset() const;
    // Remembers the preset for the port (after a transfer started).
    void RememberChoice();
    void SetPort(const QString& port);
    void FillPorts();
    void FillPresets();

private:
    void PortChanged();
    void EditPreset();
    void ShowSettings();

    PresetBook& book_;
    QComboBox* port_;
    QComboBox* preset_;
    QLabel* settings_;
};
