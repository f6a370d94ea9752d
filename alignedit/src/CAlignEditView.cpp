#include "alignedit/CAlignEditView.h"

#include "alignedit/AlignFileTypes.h"
#include "alignedit/CAlignEditDoc.h"
#include "alignedit/UserDialogs.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlock>

CAlignEditView::CAlignEditView(CAlignEditDoc* document, UserDialogs& dialogs, QWidget* parent)
    : QPlainTextEdit(parent), document_(document), dialogs_(dialogs) {
    setDocument(document->TextDocument());
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(document->WrapMode());
    connect(document, &CAlignEditDoc::WrapModeChanged, this, &QPlainTextEdit::setWordWrapMode);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    // Alignment files are laid out in columns.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleStrategy(QFont::PreferNoShaping);
    setFont(font);
}

void CAlignEditView::keyPressEvent(QKeyEvent* event) {
    StepOverPieceEdge(event);
    if (event->matches(QKeySequence::InsertParagraphSeparator)) {
        EditMakingLines([this, event] { QPlainTextEdit::keyPressEvent(event); });
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CAlignEditView::insertFromMimeData(const QMimeData* source) {
    EditMakingLines([this, source] { QPlainTextEdit::insertFromMimeData(source); });
}

void CAlignEditView::inputMethodEvent(QInputMethodEvent* event) {
    EditMakingLines([this, event] { QPlainTextEdit::inputMethodEvent(event); });
}

void CAlignEditView::EditMakingLines(const std::function<void()>& edit) {
    QTextCursor step = textCursor();
    step.beginEditBlock();
    const int from = textCursor().selectionStart();
    edit();
    document_->MarkNewLines(from, textCursor().position());
    step.endEditBlock();
}

// Between two pieces of one line there is no character to delete.
void CAlignEditView::StepOverPieceEdge(const QKeyEvent* event) {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        return;
    }
    const bool backspace = event->key() == Qt::Key_Backspace &&
                           !(event->modifiers() & ~Qt::ShiftModifier) && cursor.atBlockStart() &&
                           CAlignEditDoc::ContinuesLine(cursor.block());
    const bool forward = event->matches(QKeySequence::Delete) && cursor.atBlockEnd() &&
                         CAlignEditDoc::ContinuesLine(cursor.block().next());
    if (backspace || forward) {
        cursor.movePosition(backspace ? QTextCursor::PreviousCharacter
                                      : QTextCursor::NextCharacter);
        setTextCursor(cursor);
    }
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
