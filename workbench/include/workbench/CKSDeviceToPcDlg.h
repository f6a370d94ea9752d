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

    std::unique_ptr<Ui::CKSDeviceToPcDlg> ui_;
};
