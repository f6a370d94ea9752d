#pragma once

#include "coordbook/BookDialogs.h"
#include "coordbook/BookFormat.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class BookPage;
class QTabWidget;
class QUndoGroup;

// The "Coordinate Editor": a tab per open file (BookPage), menus for files
// and edits, undo and redo of the current file, and the questions about
// unsaved changes when a file or the window closes.
class CoordBookWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit CoordBookWindow(std::unique_ptr<BookDialogs> dialogs = nullptr,
                             QWidget* parent = nullptr);
    ~CoordBookWindow() override;

    // Each file opens in a tab of its own (one already open is shown);
    // those that cannot be read are named in an error.
    void OpenFiles(const QStringList& paths);
    void NewFile();
    BookPage* Current() const;
    QTabWidget* Tabs() const { return tabs_; }

    // The file menu's commands; false when nothing was saved.
    bool Save();
    bool SaveAs();
    // Asks about unsaved changes first; false when the page stays.
    bool ClosePage(int index);

    // The edit menu's commands on the current page.
    void AddPoint();
    void DeletePoints();
    void RenumberPoints();
    void ShiftPoints();
    void MovePoints();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void AddPage(BookPage* page);
    bool SaveTo(BookPage& page, const QString& path, BookFormat format);
    void UpdateTitles();
    // The current page's selected rows; none, and the message shown, when
    // nothing is selected.
    std::vector<std::size_t> Selection(const QString& missing);

    std::unique_ptr<BookDialogs> dialogs_;
    QTabWidget* tabs_;
    QUndoGroup* undoGroup_;
};
