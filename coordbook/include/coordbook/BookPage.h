#pragma once

#include "coordbook/BookFormat.h"
#include "coordbook/PointBook.h"

#include <QUndoStack>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class BookSortProxy;
class BookTableModel;
class PlanView;
class QLineEdit;
class QListWidget;
class QTableView;

// One open coordinate file: the filter, the table of its points beside
// the plan of the same points (the table's selection ringed in the plan,
// a point clicked in the plan selected in the table), the lines that could
// not be read, and the file's undo stack.
class BookPage : public QWidget {
    Q_OBJECT

public:
    // path: empty for a new file, which is GSI-16 until saved otherwise.
    BookPage(std::unique_ptr<PointBook> book, const QString& path, QWidget* parent = nullptr);
    ~BookPage() override;

    const QString& Path() const { return path_; }
    // "1 point", "12 points".
    static QString Points(std::size_t count);
    // The file name, or "Untitled".
    QString Title() const;
    const PointBook& Book() const;
    bool IsModified() const { return !undo_.isClean(); }
    QUndoStack& Undo() { return undo_; }
    // The file now holds what the page shows.
    void MarkSaved(const QString& path);

    // Source rows of the selected points, in the table's order.
    std::vector<std::size_t> SelectedRows() const;
    void SelectRows(const std::vector<std::size_t>& rows);

    // A point after the current one, named after it and at its place,
    // ready for its values to be typed.
    void AddPoint();
    void DeleteSelected();
    // False when refused (the reason went to editRefused).
    bool Renumber(const QString& first, int step);
    bool Shift(const ExactCoordinates& by);

    BookTableModel& Model() const { return *model_; }
    QTableView* Table() const { return table_; }
    PlanView* Plan() const { return plan_; }
    QLineEdit* Filter() const { return filter_; }
    QListWidget* Problems() const { return problems_; }

signals:
    void editRefused(const QString& reason);

private:
    void ShowProblems();
    void RedrawPlan();
    void ShowSelectionInPlan();
    void SelectFromPlan(int index);
    // The first name counted on from after that no point carries.
    std::string FreeName(const std::string& after) const;

    QString path_;
    QUndoStack undo_;
    BookTableModel* model_;
    BookSortProxy* proxy_;
    QLineEdit* filter_;
    QTableView* table_;
    PlanView* plan_;
    QListWidget* problems_;
    std::vector<std::size_t> planRows_; // plan index -> source row
    std::vector<int> planIndexOfRow_;   // source row -> plan index, -1 filtered out
};
