#include "alignedit/CMainFrame.h"

#include "alignedit/CAlignEditDoc.h"
#include "alignedit/CAlignEditView.h"
#include "alignedit/CChildFrame.h"
#include "alignedit/UserDialogs.h"
#include "sharedwidgets/CFrameStatusBar.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QToolBar>

// Outside any namespace: Q_INIT_RESOURCE declares the global registration function.
static void EnsureResources() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(alignedit);
        return true;
    }();
    (void)registered;
}

namespace {
QIcon Icon(const char* name) {
    return QIcon(QStringLiteral(":/alignedit/icons/%1.svg").arg(QLatin1String(name)));
}
} // namespace

const QString CMainFrame::kCaption = QStringLiteral("Velmor Road editor");

CMainFrame::CMainFrame(std::unique_ptr<UserDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtUserDialogs>()),
      printer_(std::make_unique<QPrinter>()), mdi_(new QMdiArea(this)) {
    EnsureResources();
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(Icon("alignedit"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    CreateActions();
    CreateBars();
    QSettings settings;
    recent_.Read(settings);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenus();
        UpdateCaption();
    });
    UpdateRecentFiles();
    UpdateMenus();
    setWindowTitle(kCaption);
    resize(900, 640);
}

CMainFrame::~CMainFrame() {
    // The windows go first, while their documents still exist.
    destroying_ = true;
    delete mdi_;
}

CMainFrame* CMainFrame::Of(const QWidget* widget) {
    return widget != nullptr ? qobject_cast<CMainFrame*>(widget->window()) : nullptr;
}

QAction* CMainFrame::MakeAction(const QString& name, const QString& text, const QString& tip,
                                const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setStatusTip(tip);
    action->setShortcuts(keys);
    return action;
}

void CMainFrame::CreateActions() {
    connect(MakeAction(QStringLiteral("fileNew"), QStringLiteral("&New"),
                       QStringLiteral("Create a new document"),
                       {QKeySequence(Qt::CTRL | Qt::Key_N)}),
            &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(MakeAction(QStringLiteral("fileOpen"), QStringLiteral("&Open..."),
                       QStringLiteral("Open an existing document"),
                       {QKeySequence(Qt::CTRL | Qt::Key_O)}),
            &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(MakeAction(QStringLiteral("fileClose"), QStringLiteral("&Close"),
                       QStringLiteral("Close the active document")),
            &QAction::triggered, this, [this] {
                if (QMdiSubWindow* child = mdi_->activeSubWindow()) {
                    child->close();
                }
            });
    // The menu item reads Ctrl+S, but the key itself is the framework's save.
    connect(MakeAction(QStringLiteral("ownSave"), QStringLiteral("&Save\tCtrl+S"),
                       QStringLiteral("Save the active document as a .hal or .val file")),
            &QAction::triggered, this, [this] { CallOnView(&CAlignEditView::OnOwnSave); });
    connect(MakeAction(QStringLiteral("ownSaveAs"), QStringLiteral("Save &As..."),
                       QStringLiteral("Save the active document with a new name")),
            &QAction::triggered, this, [this] { CallOnView(&CAlignEditView::OnOwnSaveAs); });
    QAction* fileSave = MakeAction(QStringLiteral("fileSave"), QStringLiteral("Save"), QString(),
                                   {QKeySequence(Qt::CTRL | Qt::Key_S)});
    addAction(fileSave);
    connect(fileSave, &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(MakeAction(QStringLiteral("filePrint"), QStringLiteral("&Print..."),
                       QStringLiteral("Print the active document"),
                       {QKeySequence(Qt::CTRL | Qt::Key_P)}),
            &QAction::triggered, this, [this] {
                if (CAlignEditView* view = ActiveView()) {
                    view->OnFilePrint(*printer_);
                }
            });
    connect(MakeAction(QStringLiteral("filePrintPreview"), QStringLiteral("Print Pre&view"),
                       QStringLiteral("Display full pages")),
            &QAction::triggered, this, [this] {
                if (CAlignEditView* view = ActiveView()) {
                    view->OnFilePrintPreview(*printer_);
                }
            });
    connect(MakeAction(QStringLiteral("filePrintSetup"), QStringLiteral("P&rint Setup..."),
                       QStringLiteral("Change the printer and printing options")),
            &QAction::triggered, this, &CMainFrame::OnPrintSetup);
    connect(MakeAction(QStringLiteral("appExit"), QStringLiteral("E&xit"),
                       QStringLiteral("Quit the application; prompts to save documents")),
            &QAction::triggered, this, &QWidget::close);
    MakeAction(QStringLiteral("recentFile"), QStringLiteral("Recent File"), QString())
        ->setEnabled(false);
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        recentActions_[static_cast<std::size_t>(i)] =
            MakeAction(QStringLiteral("recentFile%1").arg(i + 1), QString(),
                       QStringLiteral("Open this document"));
        connect(recentActions_[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { OpenRecentFile(i); });
    }
    connect(MakeAction(QStringLiteral("appAbout"), QStringLiteral("&About alignedit..."),
                       QStringLiteral("Display program information, version number and copyright")),
            &QAction::triggered, this, &CMainFrame::ShowAbout);
    CreateEditActions();
    CreateWindowActions();
}

void CMainFrame::CreateEditActions() {
    const auto editAction = [this](const QString& name, const QString& text, const QString& tip,
                                   const QList<QKeySequence>& keys,
                                   void (QPlainTextEdit::*slot)()) {
        connect(MakeAction(name, text, tip, keys), &QAction::triggered, this, [this, slot] {
            if (CAlignEditView* view = ActiveView()) {
                (view->*slot)();
            }
        });
    };
    editAction(QStringLiteral("editUndo"), QStringLiteral("&Undo"),
               QStringLiteral("Undo the last action"),
               {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
               &QPlainTextEdit::undo);
    editAction(QStringLiteral("editCut"), QStringLiteral("Cu&t"),
               QStringLiteral("Cut the selection and put it on the Clipboard"),
               {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
               &QPlainTextEdit::cut);
    editAction(QStringLiteral("editCopy"), QStringLiteral("&Copy"),
               QStringLiteral("Copy the selection and put it on the Clipboard"),
               {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
               &QPlainTextEdit::copy);
    editAction(QStringLiteral("editPaste"), QStringLiteral("&Paste"),
               QStringLiteral("Insert Clipboard contents"),
               {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
               &QPlainTextEdit::paste);
}

void CMainFrame::CreateWindowActions() {
    connect(MakeAction(QStringLiteral("windowNew"), QStringLiteral("&New Window"),
                       QStringLiteral("Open another window for the active document")),
            &QAction::triggered, this, &CMainFrame::OnWindowNew);
    connect(MakeAction(QStringLiteral("windowCascade"), QStringLiteral("&Cascade"),
                       QStringLiteral("Arrange windows so they overlap")),
            &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(MakeAction(QStringLiteral("windowTile"), QStringLiteral("&Tile"),
                       QStringLiteral("Arrange windows as non-overlapping tiles")),
            &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(MakeAction(QStringLiteral("windowArrange"), QStringLiteral("&Arrange Icons"),
                       QStringLiteral("Arrange icons at the bottom of the window")),
            &QAction::triggered, this, &CMainFrame::OnArrangeIcons);
    // The child windows have no split panes: F6 steps through the windows.
    QAction* next = MakeAction(QStringLiteral("nextPane"), QStringLiteral("Next Pane"), QString(),
                               {QKeySequence(Qt::Key_F6)});
    QAction* previous = MakeAction(QStringLiteral("previousPane"), QStringLiteral("Previous Pane"),
                                   QString(), {QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    addAction(next);
    addAction(previous);
    connect(next, &QAction::triggered, mdi_, &QMdiArea::activateNextSubWindow);
    connect(previous, &QAction::triggered, mdi_, &QMdiArea::activatePreviousSubWindow);
}

void CMainFrame::CreateBars() {
    toolBar_ = new QToolBar(QStringLiteral("Standard"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    const std::pair<const char*, const char*> buttons[] = {
        {"fileNew", "new"},     {"fileOpen", "open"}, {"ownSave", "save"},    {nullptr, nullptr},
        {"editCut", "cut"},     {"editCopy", "copy"}, {"editPaste", "paste"}, {nullptr, nullptr},
        {"filePrint", "print"}, {"appAbout", "about"}};
    for (const auto& [action, icon] : buttons) {
        if (action == nullptr) {
            toolBar_->addSeparator();
            continue;
        }
        Action(QLatin1String(action))->setIcon(Icon(icon));
        toolBar_->addAction(Action(QLatin1String(action)));
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    statusBar_ = new CFrameStatusBar(this);
    setStatusBar(statusBar_);

    QAction* showToolBar = toolBar_->toggleViewAction();
    showToolBar->setObjectName(QStringLiteral("viewToolbar"));
    showToolBar->setText(QStringLiteral("&Toolbar"));
    showToolBar->setStatusTip(QStringLiteral("Show or hide the toolbar"));
    QAction* showStatusBar =
        MakeAction(QStringLiteral("viewStatusBar"), QStringLiteral("&Status Bar"),
                   QStringLiteral("Show or hide the status bar"));
    showStatusBar->setCheckable(true);
    showStatusBar->setChecked(true);
    connect(showStatusBar, &QAction::toggled, statusBar_, &QWidget::setVisible);
}

QAction* CMainFrame::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void CMainFrame::UpdateMenus() {
    const bool open = !mdi_->subWindowList().isEmpty();
    const auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (name == nullptr) {
                menu->addSeparator();
            } else if (QLatin1String(name) == QLatin1String("recentFile")) {
                // The placeholder stands while the list is empty.
                menu->addAction(Action(QStringLiteral("recentFile")));
                for (QAction* entry : recentActions_) {
                    menu->addAction(entry);
                }
            } else {
                menu->addAction(Action(QLatin1String(name)));
            }
        }
    };
    QMenuBar* bar = menuBar();
    bar->clear();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    if (open) {
        add(file,
            {"fileNew", "fileOpen", "fileClose", "ownSave", "ownSaveAs", nullptr, "filePrint",
             "filePrintPreview", "filePrintSetup", nullptr, "recentFile", nullptr, "appExit"});
        add(bar->addMenu(QStringLiteral("&Edit")),
            {"editUndo", nullptr, "editCut", "editCopy", "editPaste"});
    } else {
        add(file, {"fileNew", "fileOpen", nullptr, "filePrintSetup", nullptr, "recentFile", nullptr,
                   "fileClose", "appExit"});
    }
    add(bar->addMenu(QStringLiteral("&View")), {"viewToolbar", "viewStatusBar"});
    if (open) {
        add(bar->addMenu(QStringLiteral("&Window")),
            {"windowNew", "windowCascade", "windowTile", "windowArrange"});
    }
    add(bar->addMenu(QStringLiteral("&Help")), {"appAbout"});
    for (const char* name : {"fileClose", "ownSave", "ownSaveAs", "filePrint", "filePrintPreview",
                             "editUndo", "editCut", "editCopy", "editPaste", "fileSave"}) {
        Action(QLatin1String(name))->setEnabled(open);
    }
}

void CMainFrame::UpdateRecentFiles() {
    const QStringList& files = recent_.Files();
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        QAction* action = recentActions_[static_cast<std::size_t>(i)];
        action->setVisible(i < files.size());
        if (i < files.size()) {
            QString shown = QDir::toNativeSeparators(files[i]);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                shown.replace(QLatin1Char('&'), QStringLiteral("&&"))));
            action->setStatusTip(files[i]);
        }
    }
    Action(QStringLiteral("recentFile"))->setVisible(files.isEmpty());
}

void CMainFrame::UpdateCaption() {
    const CAlignEditDoc* document = ActiveDocument();
    setWindowTitle(document != nullptr ? kCaption + QStringLiteral(" - ") + document->Title()
                                       : kCaption);
}

void CMainFrame::AddRecentFile(const QString& path) {
    recent_.Add(path);
    QSettings settings;
    recent_.Write(settings);
    UpdateRecentFiles();
}

void CMainFrame::OpenRecentFile(int index) {
    const QString path = recent_.Files().value(index);
    if (path.isEmpty() || OpenDocumentFile(path) != nullptr) {
        return;
    }
    // A file that cannot be opened leaves the list.
    recent_.Remove(path);
    QSettings settings;
    recent_.Write(settings);
    UpdateRecentFiles();
}

CAlignEditView* CMainFrame::ActiveView() const {
    auto* child = qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
    if (child == nullptr && !mdi_->subWindowList().isEmpty()) {
        // Without focus on the main window no child counts as active.
        child = qobject_cast<CChildFrame*>(mdi_->currentSubWindow());
    }
    return child != nullptr ? child->View() : nullptr;
}

CAlignEditDoc* CMainFrame::ActiveDocument() const {
    CAlignEditView* view = ActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

QList<CAlignEditDoc*> CMainFrame::Documents() const {
    return findChildren<CAlignEditDoc*>(QString(), Qt::FindDirectChildrenOnly);
}

CAlignEditDoc* CMainFrame::OnFileNew() {
    auto* document = new CAlignEditDoc(untitled_.Next(), this);
    AddView(document);
    return document;
}

void CMainFrame::OnFileOpen() {
    const QString path = dialogs_->AskOpenName(this);
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}

CAlignEditDoc* CMainFrame::OpenDocumentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CAlignEditDoc* document : Documents()) {
        if (document->PathName() == absolute) {
            mdi_->setActiveSubWindow(Frames(document).value(0));
            return document;
        }
    }
    auto* document = new CAlignEditDoc(QString(), this);
    QString error;
    if (!document->OnOpenDocument(absolute, error)) {
        delete document;
        dialogs_->ShowError(this, error);
        return nullptr;
    }
    AddView(document);
    AddRecentFile(absolute);
    return document;
}

bool CMainFrame::OnFileSave() {
    CAlignEditDoc* document = ActiveDocument();
    return document != nullptr && document->DoFileSave(this, *dialogs_);
}

void CMainFrame::OnWindowNew() {
    if (CAlignEditDoc* document = ActiveDocument()) {
        AddView(document);
    }
}

void CMainFrame::OnArrangeIcons() {
    int x = 0;
    for (QMdiSubWindow* child : mdi_->subWindowList()) {
        if (child->isMinimized()) {
            child->move(x, mdi_->viewport()->height() - child->height());
            x += child->width();
        }
    }
}

void CMainFrame::OnPrintSetup() {
    QPageSetupDialog(printer_.get(), this).exec();
}

void CMainFrame::ShowAbout() {
    // Dialog 100: the application icon, the version line and "OK".
    QMessageBox about(QMessageBox::NoIcon, QStringLiteral("About alignedit"),
                      QStringLiteral("alignedit Version 2.0"), QMessageBox::Ok, this);
    about.setIconPixmap(windowIcon().pixmap(32, 32));
    about.exec();
}

CChildFrame* CMainFrame::AddView(CAlignEditDoc* document) {
    auto* child = new CChildFrame(new CAlignEditView(document, *dialogs_));
    mdi_->addSubWindow(child);
    connect(document, &CAlignEditDoc::TitleChanged, this, &CMainFrame::UpdateCaption,
            Qt::UniqueConnection);
    connect(document, &CAlignEditDoc::SavedAs, this, &CMainFrame::AddRecentFile,
            Qt::UniqueConnection);
    connect(child, &QObject::destroyed, this, [this, document] {
        if (destroying_) {
            return;
        }
        // A document lives until its last window closes; windows closed
        // together may all find none left, and deleting later is safe twice.
        if (ViewCount(document) == 0) {
            document->deleteLater();
        }
        UpdateMenus();
        UpdateCaption();
    });
    child->show();
    child->View()->setFocus();
    UpdateMenus();
    UpdateCaption();
    return child;
}

void CMainFrame::CallOnView(bool (CAlignEditView::*command)()) {
    if (CAlignEditView* view = ActiveView()) {
        (view->*command)();
    }
}

QList<CChildFrame*> CMainFrame::Frames(const CAlignEditDoc* document) const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        // A window being destroyed is no CChildFrame any more.
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child != nullptr && child->View()->GetDocument() == document) {
            frames.append(child);
        }
    }
    return frames;
}

int CMainFrame::ViewCount(const CAlignEditDoc* document) const {
    return static_cast<int>(Frames(document).size());
}

bool CMainFrame::CanCloseFrame(CChildFrame* child) {
    CAlignEditDoc* document = child->View()->GetDocument();
    return closing_ || ViewCount(document) > 1 || document->SaveModified(this, *dialogs_);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    for (CAlignEditDoc* document : Documents()) {
        if (!document->SaveModified(this, *dialogs_)) {
            event->ignore();
            return;
        }
    }
    closing_ = true;
    mdi_->closeAllSubWindows();
    event->accept();
}
