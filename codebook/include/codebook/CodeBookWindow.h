#pragma once

#include "codebook/BookQuestions.h"
#include "codebook/CodeFormat.h"

#include <QMainWindow>
#include <QUndoStack>

#include <memory>

class CodeDetails;
class CodeFilterProxy;
class CodeTableModel;
class QComboBox;
class QLineEdit;
class QTableView;

// The "Codebook Manager": one book in a table with sorting, filtering,
// editing in place, undo and redo, drag to reorder, and the selected
// code's drawing and attributes beside it.
class CodeBookWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CodeBookWindow(std::unique_ptr<BookQuestions> questions = nullptr,
                            QWidget* parent = nullptr);
    ~CodeBookWindow() override;

    // False, after telling the user why, when the file cannot be read.
    bool OpenFile(const QString& path);
    // Saves where the book came from, in its format; asks for a name when it has none.
    bool Save();
    bool SaveAs();
    void AddCode();
    void RemoveCode();
    // "Codes Used in Jobs": the codes of GSI jobs the user picks, against the book.
    void CodesUsedInJobs();

    CodeTableModel& Model() const { return *model_; }
    QTableView* Table() const { return table_; }
    CodeFilterProxy& Filter() const { return *proxy_; }
    CodeDetails* Details() const { return details_; }
    QLineEdit* FilterEdit() const { return filter_; }
    QComboBox* GroupBox() const { return group_; }
    QUndoStack& Undo() { return undo_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    bool SaveTo(const QString& path, CodeFormat format);
    // True when there is nothing unsaved, or the user saved or discarded it.
    bool MayDiscard();
    void SelectionChanged();
    void RefreshGroups();
    void RefreshTitle();
    int CurrentRow() const;

    std::unique_ptr<BookQuestions> questions_;
    QUndoStack undo_;
    CodeTableModel* model_;
    CodeFilterProxy* proxy_;
    QTableView* table_;
    CodeDetails* details_;
    QLineEdit* filter_;
    QComboBox* group_;
    QString path_;
    CodeFormat format_ = CodeFormat::Book;
};
