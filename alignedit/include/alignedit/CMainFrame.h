#pragma once

#include "alignedit/RecentFileList.h"
#include "alignedit/UntitledNames.h"
#include "alignedit/UserDialogs.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CAlignEditDoc;
class CAlignEditView;
class CChildFrame;
class CFrameStatusBar;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;
class QToolBar;

// The main window: documents in child windows of a multi-document area, the
// tool bar and the status bar, and two menus, a short one while no document
// is open and the full one while one is. Owns the documents, the names of
// new ones, the recent-file list and the printer settings.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static const QString kCaption;

    explicit CMainFrame(std::unique_ptr<UserDialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The frame a widget belongs to; null when it is in none.
    static CMainFrame* Of(const QWidget* widget);

    // New: an empty document AlignEd<n> in a window of its own.
    CAlignEditDoc* OnFileNew();
    // Open: asks for a file and opens it.
    void OnFileOpen();
    // Opens a file, or brings up the window of a document that already has
    // it; reports a failure and returns null.
    CAlignEditDoc* OpenDocumentFile(const QString& path);
    // The framework's save of the active document (Ctrl+S).
    bool OnFileSave();
    void OnWindowNew();
    void OnArrangeIcons();
    void OnPrintSetup();
    void ShowAbout();

    CAlignEditView* ActiveView() const;
    CAlignEditDoc* ActiveDocument() const;
    QList<CAlignEditDoc*> Documents() const;
    QMdiArea* MdiArea() const { return mdi_; }
    QToolBar* ToolBar() const { return toolBar_; }
    CFrameStatusBar* StatusBar() const { return statusBar_; }
    const RecentFileList& RecentFiles() const { return recent_; }
    QPrinter& Printer() { return *printer_; }
    // A command action by its name ("ownSave", "fileSave", "recentFile1", ...).
    QAction* Action(const QString& name) const;

    // The windows that show a document.
    QList<CChildFrame*> Frames(const CAlignEditDoc* document) const;
    // Asked by a child window before it closes.
    bool CanCloseFrame(CChildFrame* child);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(const QString& name, const QString& text, const QString& tip,
                        const QList<QKeySequence>& keys = {});
    void CreateActions();
    void CreateEditActions();
    void CreateWindowActions();
    void CreateBars();
    void UpdateMenus();
    void UpdateRecentFiles();
    void UpdateCaption();
    void AddRecentFile(const QString& path);
    void OpenRecentFile(int index);
    CChildFrame* AddView(CAlignEditDoc* document);
    void CallOnView(bool (CAlignEditView::*command)());
    int ViewCount(const CAlignEditDoc* document) const;

    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<QPrinter> printer_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    CFrameStatusBar* statusBar_ = nullptr;
    UntitledNames untitled_;
    RecentFileList recent_;
    std::array<QAction*, RecentFileList::kSize> recentActions_{};
    // Every document has agreed to close: the windows close without asking.
    bool closing_ = false;
    bool destroying_ = false;
};
