#include "workbench/CKSDeviceToPcDlg.h"

#include "ui_KSDeviceToPcDlg.h"

#include <QShowEvent>

CKSDeviceToPcDlg::CKSDeviceToPcDlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CKSDeviceToPcDlg>()) {
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &CKSDeviceToPcDlg::OnOK);
    connect(ui_->combo1005, &QComboBox::currentTextChanged, this,
            &CKSDeviceToPcDlg::ShowDataTypeNote);
    connect(ui_->combo1008, &QComboBox::currentTextChanged, this, &CKSDeviceToPcDlg::ShowErased);
}

CKSDeviceToPcDlg::~CKSDeviceToPcDlg() = default;

QString CKSDeviceToPcDlg::CaptionOf(std::int32_t mode) {
    if (mode == 4) {
        return QStringLiteral("DELETE JOB FILE");
    }
    if (mode >= 5 && mode <= 7) {
        return QStringLiteral("DELETE COD FILE");
    }
    // An upload that calls itself a download misleads about the direction.
    return mode >= 8 ? QStringLiteral("Upload File") : QStringLiteral("Download File");
}

void CKSDeviceToPcDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CKSDeviceToPcDlg::OnInitDialog() {
    setWindowTitle(CaptionOf(dialogMode));
    ui_->combo1005->clear();
    ui_->combo1008->clear();
    const bool deleting = dialogMode >= 4 && dialogMode <= 7;
    ui_->text1002->setText(deleting ? QString() : fromText);
    ui_->text1003->setText(deleting ? QString() : toText);
    // A job's name comes with the instrument's three-letter storage prefix.
    ui_->edit1004->setText(dialogMode == 0 && !answered_ ? fileName.mid(3) : fileName);
    // Greyed as well: a read-only field alone looks like one to type in.
    const bool nameShownOnly = deleting || (dialogMode >= 8 && !nameEditable);
    ui_->edit1004->setReadOnly(nameShownOnly);
    ui_->edit1004->setEnabled(!nameShownOnly);
    ui_->noteDataType->setText(dataTypeNote);
    ui_->noteDataType->hide();
    ui_->noteErase->hide();
    switch (dialogMode) {
    case 0:
        FillDataTypes();
        ui_->combo1008->addItems({QStringLiteral("COORDS"), QStringLiteral("OBSERV")});
        // The part of the node the user started from; from the entry none.
        ui_->combo1008->setCurrentIndex(jobPart == 1 ? 0 : jobPart == 2 ? 1 : -1);
        ShowDataTypeNote();
        break;
    case 1:
    case 8:
        FillDataTypes();
        HideFileType();
        break;
    case 4:
        HideDataType();
        Hide({ui_->label1012, ui_->text1002, ui_->label1013, ui_->text1003});
        ui_->combo1008->addItems({QStringLiteral("COORDS"), QStringLiteral("OBSERV")});
        ui_->combo1008->setCurrentIndex(jobPart == 1 ? 0 : jobPart == 2 ? 1 : -1);
        ShowErased();
        break;
    case 5:
    case 6:
    case 7:
        for (QWidget* w : ui_->group1014->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            w->setVisible(w == ui_->labelFileName || w == ui_->edit1004);
        }
        ShowErased();
        break;
    default:
        HideDataType();
        HideFileType();
        break;
    }
    KeepChoices();
    ShowErased();
}

void CKSDeviceToPcDlg::KeepChoices() {
    if (!answered_) {
        return;
    }
    if (ui_->combo1005->isVisibleTo(this)) {
        ui_->combo1005->setCurrentIndex(ui_->combo1005->findText(chosenDataType));
        ui_->combo1005->setEditText(chosenDataType);
    }
    if (ui_->combo1008->isVisibleTo(this)) {
        ui_->combo1008->setCurrentIndex(ui_->combo1008->findText(chosenFileType));
        ui_->combo1008->setEditText(chosenFileType);
    }
}

// Only a data type saved under another extension than its own needs the note.
void CKSDeviceToPcDlg::ShowDataTypeNote() {
    static const QStringList kOwnExtension = {QStringLiteral("GSI"), QStringLiteral("IDEX"),
                                              QStringLiteral("CASS")};
    ui_->noteDataType->setVisible(dialogMode == 0 && !dataTypeNote.isEmpty() &&
                                  !kOwnExtension.contains(ui_->combo1005->currentText()));
}

// A job's download and delete need its part chosen (an unset part would
// mean the measurements); every delete says what OK erases.
void CKSDeviceToPcDlg::ShowErased() {
    if (dialogMode == 0) {
        const bool chosen = ui_->combo1008->findText(ui_->combo1008->currentText()) >= 0;
        ui_->noteErase->setText(chosen ? QString()
                                       : QStringLiteral("Choose the part to download."));
        ui_->noteErase->setVisible(!chosen);
        ui_->okButton->setEnabled(chosen);
        return;
    }
    if (dialogMode < 4 || dialogMode > 7) {
        return;
    }
    const int index = dialogMode == 4 ? ui_->combo1008->findText(ui_->combo1008->currentText()) : 0;
    const bool known = index >= 0 && index < erasedTexts.size();
    ui_->noteErase->setText(known ? erasedTexts[index]
                                  : QStringLiteral("Choose the part to erase."));
    ui_->noteErase->setVisible(!ui_->noteErase->text().isEmpty());
    ui_->okButton->setEnabled(known && index < erasable.size() && erasable[index]);
}

void CKSDeviceToPcDlg::FillDataTypes() {
    // Each choice up to its first comma: the format's name.
    for (int i = 0; i < dataTypeChoices.size(); ++i) {
        const QString& choice = dataTypeChoices[i];
        const qsizetype comma = choice.indexOf(QLatin1Char(','));
        ui_->combo1005->insertItem(i, comma < 0 ? QString() : choice.left(comma));
    }
    ui_->combo1005->setCurrentIndex(dataTypeChoices.isEmpty() ? -1 : 0);
}

void CKSDeviceToPcDlg::Hide(std::initializer_list<QWidget*> widgets) {
    for (QWidget* widget : widgets) {
        widget->hide();
    }
}

void CKSDeviceToPcDlg::HideDataType() {
    Hide({ui_->label1010, ui_->combo1005});
}

void CKSDeviceToPcDlg::HideFileType() {
    Hide({ui_->label1011, ui_->combo1008});
}

void CKSDeviceToPcDlg::OnOK() {
    fileName = ui_->edit1004->text();
    chosenDataType = ui_->combo1005->currentText();
    chosenFileType = ui_->combo1008->currentText();
    answered_ = true;
    done(1);
}
