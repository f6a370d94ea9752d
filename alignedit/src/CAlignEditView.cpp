#include "alignedit/CAlignEditView.h"

#include "alignedit/AlignFileTypes.h"
#include "alignedit/CAlignEditDoc.h"
#include "alignedit/UserDialogs.h"

#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CAlignEditView::CAlignEditView(CAlignEditDoc* document, UserDialogs& dialogs, QWidget* parent)
    : QPlainTextEdit(parent), document_(document), dialogs_(dialogs) {
    setDocument(document->TextDocument());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    // Alignment files are laid out in columns.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

bool CAlignEditView::OnOwnSave() {
    return SaveWithTypeDialog(QStringLiteral("Save"));
}

bool CAlignEditView::OnOwnSaveAs() {
    return SaveWithTypeDialog(QStringLiteral("Save as"));
}

bool CAlignEditView::SaveWithTypeDialog(const QString& title) {
    const UserDialogs::SaveChoice choice =
        dialogs_.AskSaveName(this, title, AlignFileTypes::Filters(), QString());
    if (choice.path.isEmpty()) {
        return false;
    }
    // The document keeps its own name and path: this is a copy under
    // another name, and the recent-file list stays as it is.
    QString error;
    if (!document_->Store(AlignFileTypes::WithTypeSuffix(choice.path, choice.filterIndex), error)) {
        dialogs_.ShowError(this, error);
        return false;
    }
    document_->SetModified(false);
    return true;
}

void CAlignEditView::OnFilePrint(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        OnFilePrintDirect(printer);
    }
}

void CAlignEditView::OnFilePrintPreview(QPrinter& printer) {
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { OnFilePrintDirect(*target); });
    preview.exec();
}

void CAlignEditView::OnFilePrintDirect(QPrinter& printer) {
    printer.setDocName(document_->Title());
    print(&printer);
}
