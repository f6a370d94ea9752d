#pragma once

#include <QPlainTextEdit>

#include <functional>

class CAlignEditDoc;
class QPrinter;
class UserDialogs;

// The edit window of a document: plain text filling the child window,
// wrapped at the window's edge with no horizontal scroll bar. Holds the own
// Save and Save As, which always ask for a ".hal" or ".val" name, and
// printing of the text.
class CAlignEditView : public QPlainTextEdit {
    Q_OBJECT

public:
    CAlignEditView(CAlignEditDoc* document, UserDialogs& dialogs, QWidget* parent = nullptr);

    CAlignEditDoc* GetDocument() const { return document_; }

    // Command 32772.
    bool OnOwnSave();
    // Command 32773.
    bool OnOwnSaveAs();

    void OnFilePrint(QPrinter& printer);
    void OnFilePrintPreview(QPrinter& printer);
    // Prints with the printer as it is set up, without asking.
    void OnFilePrintDirect(QPrinter& printer);

protected:
    // Edits that start lines make them lines of their own, also inside a
    // piece of a long line; Backspace and Delete at a piece's edge act on
    // the character beyond it (see CAlignEditDoc::kPieceLength).
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    bool SaveWithTypeDialog(const QString& title);
    // Runs an edit as one undo step and makes the blocks it made lines.
    void EditMakingLines(const std::function<void()>& edit);
    void StepOverPieceEdge(const QKeyEvent* event);

    CAlignEditDoc* document_;
    UserDialogs& dialogs_;
};
