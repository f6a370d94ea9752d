#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace Ui {
class CKSDeviceToPcDlg;
}

// The transfer dialog of downloads (modes 0 to 3), deletes (4 to 7) and
// uploads (8, 10 to 12): the mode is the kind of the request it prepares and
// decides the caption, which controls show and what the combo boxes offer.
// Fill the members, exec(); after OK (result 1) read the chosen texts.
//
// A delete says what OK will erase. A job's delete preselects the part of
// the node the user clicked (jobPart 1 the fixed points, 2 the measurement
// points); from the entry itself no part is chosen, and OK waits until the
// user picks one, and a part that holds nothing keeps OK disabled.
//
// A name the request does not use (a delete's, or an upload's into an entry
// that keeps its own name) is shown read-only. Shown again after OK (the
// name was refused), the dialog keeps every choice the user made.
class CKSDeviceToPcDlg : public QDialog {
    Q_OBJECT

public:
    explicit CKSDeviceToPcDlg(QWidget* parent = nullptr);
    ~CKSDeviceToPcDlg() override;

    // In.
    std::int32_t dialogMode = 0;
    std::int32_t jobPart = -100;
    QString fromText;
    QString toText;
    QString fileName; // written back on OK
    QStringList dataTypeChoices;
    bool nameEditable = true; // uploads: whether the request uses the typed name
    QString dataTypeNote; // under a job download's data type, while one without an extension of its
                          // own is chosen
    // What a delete says it erases: for a job one text per part ("COORDS",
    // then "OBSERV"), otherwise one text; and for each whether OK may erase.
    QStringList erasedTexts;
    QList<bool> erasable;
    // Out, on OK: the texts shown in the combo boxes' edit fields.
    QString chosenDataType;
    QString chosenFileType;

    // The caption of a mode.
    static QString CaptionOf(std::int32_t mode);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void OnOK();
    void FillDataTypes();
    static void Hide(std::initializer_list<QWidget*> widgets);
    void HideDataType();
    void HideFileType();
    void ShowDataTypeNote();
    void ShowErased();
    void KeepChoices();

    std::unique_ptr<Ui::CKSDeviceToPcDlg> ui_;
    bool answered_ = false; // OK was pressed once: the members hold the user's choices
};
