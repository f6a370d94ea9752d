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
// user picks one.
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
    QString dataTypeNote; // under a job download's data type, while one without an extension of its
                          // own is chosen
    // What a delete erases: for a job one text per part ("COORDS", then
    // "OBSERV"), otherwise one text.
    QStringList erasedTexts;
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

    std::unique_ptr<Ui::CKSDeviceToPcDlg> ui_;
};
