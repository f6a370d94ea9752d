#pragma once

#include "legacyxfer/RemovableVolumes.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

// The mounted memory sticks and the field files on them; the chosen files
// are copied to a PC folder, checked, and never put over a file unasked.
class UsbPage : public QWidget {
    Q_OBJECT
public:
    using Confirm = std::function<bool(const QString& question)>;

    UsbPage(Confirm confirm, QWidget* parent = nullptr);

    void SetPlaces(const VolumePlaces& places);
    void SetTarget(const QString& folder);
    void SetPointFiles(bool on);
    void Refresh();
    // Checks every listed file (for scripts and tests).
    void SelectAll();
    void CopySelected();
    QStringList Listed() const;
    QString Summary() const;

private:
    Confirm confirm_;
    VolumePlaces places_;
    QTreeWidget* tree_;
    QLineEdit* target_;
    QCheckBox* points_;
    QLabel* summary_;
};
