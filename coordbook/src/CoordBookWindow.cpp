#include "coordbook/CoordBookWindow.h"

#include "coordbook/BookFile.h"
#include "coordbook/BookLoader.h"
#include "coordbook/BookPage.h"
#include "coordbook/BookTableModel.h"
#include "coordbook/QtBookDialogs.h"
#include "sharedwidgets/PlanView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoGroup>

namespace {

constexpr int kMessageMs = 10000;

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The same file, however its path was written.
QString Canonical(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

// The desktop's keys for a command, and ours where the desktop has none
// or others.
QList<QKeySequence> Keys(QKeySequence::StandardKey key, const QKeySequence& ours) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.contains(ours)) {
        keys.append(ours);
    }
    return keys;
}

FixedDecimal Negated(const FixedDecimal& value) {
    return FixedDecimal(value.Digits(), value.Places(), !value.Negative());
}

} // namespace

static QIcon ProgramIcon() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(coordbook);
        return true;
    }();
    return registered ? QIcon(QStringLiteral(":/coordbook/icons/coordbook.svg")) : QIcon();
}

CoordBookWindow::CoordBookWindow(std::unique_ptr<BookDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtBookDialogs>()),
      tabs_(new QTabWidget), undoGroup_(new QUndoGroup(this)) {
    setWindowIcon(ProgramIcon());
    tabs_->setTabsClosable(true);
    tabs_->setMovable(true);
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);
    setAcceptDrops(true);
    resize(1100, 700);
    BuildMenus();
    connect(tabs_, &QTabWidget::tabCloseRequested, this, &CoordBookWindow::ClosePage);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        undoGroup_->setActiveStack(Current() != nullptr ? &Current()->Undo() : nullptr);
        UpdateTitles();
    });
    statusBar()->showMessage(tr("Open a point file (.dat) or a GSI job, or start a new file."));
    UpdateTitles();
}

CoordBookWindow::~CoordBookWindow() {
    // The pages' undo stacks go after this part of the window.
    for (int i = 0; i < tabs_->count(); ++i) {
        qobject_cast<BookPage*>(tabs_->widget(i))->Undo().disconnect(this);
    }
}

void CoordBookWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), this, &CoordBookWindow::NewFile)
        ->setShortcuts(Keys(QKeySequence::New, Qt::CTRL | Qt::Key_N));
    file->addAction(tr("&Open..."), this, [this] { OpenFiles(dialogs_->AskOpenNames(this)); })
        ->setShortcuts(Keys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    file->addAction(tr("&Save"), this, &CoordBookWindow::Save)
        ->setShortcuts(Keys(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    file->addAction(tr("Save &As..."), this, &CoordBookWindow::SaveAs)
        ->setShortcuts(Keys(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addAction(tr("&Close"), this, [this] { ClosePage(tabs_->currentIndex()); })
        ->setShortcuts(Keys(QKeySequence::Close, Qt::CTRL | Qt::Key_W));
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close)
        ->setShortcuts(Keys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = undoGroup_->createUndoAction(this, tr("&Undo"));
    undo->setShortcuts(Keys(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z));
    QAction* redo = undoGroup_->createRedoAction(this, tr("&Redo"));
    redo->setShortcuts(Keys(QKeySequence::Redo, Qt::CTRL | Qt::Key_Y));
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(tr("&Add Point"), QKeySequence(Qt::Key_Insert), this,
                    &CoordBookWindow::AddPoint);
    edit->addAction(tr("&Delete Points"), QKeySequence::Delete, this,
                    &CoordBookWindow::DeletePoints);
    edit->addAction(tr("&Renumber..."), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                    &CoordBookWindow::RenumberPoints);
    edit->addAction(tr("S&hift by Vector..."), QKeySequence(Qt::CTRL | Qt::Key_T), this,
                    &CoordBookWindow::ShiftPoints);
    edit->addAction(tr("&Move To..."), QKeySequence(Qt::CTRL | Qt::Key_M), this,
                    &CoordBookWindow::MovePoints);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("Show &All Points"), QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] {
        if (Current() != nullptr) {
            Current()->Plan()->FitAll();
        }
    });
}

BookPage* CoordBookWindow::Current() const {
    return qobject_cast<BookPage*>(tabs_->currentWidget());
}

void CoordBookWindow::NewFile() {
    AddPage(new BookPage(std::make_unique<PointBook>(BookFormat::Gsi16), QString()));
}

void CoordBookWindow::OpenFiles(const QStringList& paths) {
    QStringList failures;
    for (const QString& path : paths) {
        const QString canonical = Canonical(path);
        bool open = false;
        for (int i = 0; i < tabs_->count() && !open; ++i) {
            const auto* page = qobject_cast<BookPage*>(tabs_->widget(i));
            if (!page->Path().isEmpty() && Canonical(page->Path()) == canonical) {
                tabs_->setCurrentIndex(i);
                open = true;
            }
        }
        if (open) {
            continue;
        }
        auto loaded = BookLoader::Load(NativePath(path));
        if (!loaded.book) {
            failures << tr("Cannot open \"%1\": %2.")
                            .arg(path, QString::fromStdString(loaded.error->Text()));
            continue;
        }
        AddPage(new BookPage(std::move(loaded.book), path));
    }
    if (!failures.isEmpty()) {
        dialogs_->ShowError(this, failures.join('\n'));
    }
}

void CoordBookWindow::AddPage(BookPage* page) {
    undoGroup_->addStack(&page->Undo());
    connect(&page->Undo(), &QUndoStack::cleanChanged, this, &CoordBookWindow::UpdateTitles);
    connect(page, &BookPage::editRefused, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, kMessageMs); });
    tabs_->setCurrentIndex(tabs_->addTab(page, page->Title()));
    const std::size_t problems = page->Book().Problems().size();
    const std::size_t points = page->Book().Rows();
    statusBar()->showMessage(
        problems == 0 ? BookPage::Points(points)
        : problems == 1
            ? tr("1 line could not be read; it is listed below the table and kept as it is")
            : tr("%1 lines could not be read; they are listed below the table and kept as they "
                 "are")
                  .arg(problems));
}

void CoordBookWindow::UpdateTitles() {
    for (int i = 0; i < tabs_->count(); ++i) {
        const auto* page = qobject_cast<BookPage*>(tabs_->widget(i));
        tabs_->setTabText(i, page->Title() + (page->IsModified() ? "*" : ""));
        tabs_->setTabToolTip(i, page->Path());
    }
    const BookPage* page = Current();
    setWindowTitle(page == nullptr ? tr("Coordinate Editor")
                                   : tr("%1[*] - Coordinate Editor").arg(page->Title()));
    setWindowModified(page != nullptr && page->IsModified());
}

bool CoordBookWindow::Save() {
    BookPage* page = Current();
    if (page == nullptr) {
        return false;
    }
    return page->Path().isEmpty() ? SaveAs() : SaveTo(*page, page->Path(), page->Book().Format());
}

bool CoordBookWindow::SaveAs() {
    BookPage* page = Current();
    if (page == nullptr) {
        return false;
    }
    const auto choice = dialogs_->AskSaveName(
        this, page->Path().isEmpty() ? page->Title() : page->Path(), page->Book().Format());
    return choice && SaveTo(*page, choice->path, choice->format);
}

bool CoordBookWindow::SaveTo(BookPage& page, const QString& path, BookFormat format) {
    const BookOutput output = BookFile::Render(page.Book(), NativePath(path), format);
    const QString refused = tr("Cannot save \"%1\": %2.").arg(path);
    if (!output.refusal.empty()) {
        dialogs_->ShowError(this, refused.arg(QString::fromStdString(output.refusal)));
        return false;
    }
    const std::string note = BookFile::LeftOutNote(output, format);
    if (!note.empty() &&
        !dialogs_->AskGoOn(this, tr("%1. Save anyway?").arg(QString::fromStdString(note)))) {
        return false;
    }
    const std::string error = BookFile::Store(NativePath(path), output);
    if (!error.empty()) {
        dialogs_->ShowError(this, refused.arg(QString::fromStdString(error)));
        return false;
    }
    if (format == page.Book().Format()) {
        page.MarkSaved(path);
    } else {
        // The file is now of another format: the page shows it as it is.
        const int index = tabs_->indexOf(&page);
        tabs_->removeTab(index);
        delete &page;
        OpenFiles({path});
        tabs_->tabBar()->moveTab(tabs_->currentIndex(), index);
    }
    statusBar()->showMessage(
        tr("Saved %1 (%2)").arg(path, QString::fromStdString(BookFormats::Title(format))),
        kMessageMs);
    UpdateTitles();
    return true;
}

bool CoordBookWindow::ClosePage(int index) {
    auto* page = qobject_cast<BookPage*>(tabs_->widget(index));
    if (page == nullptr) {
        return true;
    }
    if (page->IsModified()) {
        tabs_->setCurrentIndex(index);
        switch (dialogs_->AskYesNoCancel(this, tr("Save changes to %1?").arg(page->Title()))) {
        case QMessageBox::Yes:
            if (!Save()) {
                return false;
            }
            page = qobject_cast<BookPage*>(tabs_->widget(tabs_->currentIndex()));
            break;
        case QMessageBox::No:
            break;
        default:
            return false;
        }
    }
    tabs_->removeTab(tabs_->indexOf(page));
    delete page;
    UpdateTitles();
    return true;
}

void CoordBookWindow::closeEvent(QCloseEvent* event) {
    for (int i = tabs_->count() - 1; i >= 0; --i) {
        if (!ClosePage(i)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CoordBookWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CoordBookWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    OpenFiles(paths);
    event->acceptProposedAction();
}

void CoordBookWindow::AddPoint() {
    if (Current() == nullptr) {
        NewFile();
    }
    Current()->AddPoint();
}

void CoordBookWindow::DeletePoints() {
    if (Current() != nullptr) {
        Current()->DeleteSelected();
    }
}

std::vector<std::size_t> CoordBookWindow::Selection(const QString& missing) {
    const std::vector<std::size_t> rows =
        Current() != nullptr ? Current()->SelectedRows() : std::vector<std::size_t>();
    if (rows.empty()) {
        statusBar()->showMessage(missing, kMessageMs);
    }
    return rows;
}

void CoordBookWindow::RenumberPoints() {
    const auto rows = Selection(tr("Select the points to renumber first."));
    if (rows.empty()) {
        return;
    }
    const auto choice = dialogs_->AskRenumber(
        this, BookTableModel::Text(Current()->Book().Row(rows.front()).point.name));
    if (choice) {
        Current()->Renumber(choice->first, choice->step);
    }
}

void CoordBookWindow::ShiftPoints() {
    if (Selection(tr("Select the points to shift first.")).empty()) {
        return;
    }
    const FixedDecimal zero(0, 3, false);
    const auto by = dialogs_->AskCoordinates(this, tr("Shift by Vector"),
                                             tr("Add to the selected points:"), {zero, zero, zero});
    if (by) {
        Current()->Shift(*by);
    }
}

void CoordBookWindow::MovePoints() {
    const auto rows = Selection(tr("Select the points to move first."));
    if (rows.empty()) {
        return;
    }
    BookPage* page = Current();
    const ExactCoordinates from = page->Book().Row(rows.front()).exact;
    const auto to = dialogs_->AskCoordinates(
        this, tr("Move To"),
        tr("Move %1 there; the other selected points follow:")
            .arg(BookTableModel::Text(page->Book().Row(rows.front()).point.name)),
        from);
    if (!to) {
        return;
    }
    const auto east = to->east.Plus(Negated(from.east));
    const auto north = to->north.Plus(Negated(from.north));
    std::optional<FixedDecimal> height;
    if (to->height && from.height) {
        height = to->height->Plus(Negated(*from.height));
    }
    if (!east || !north || (to->height && from.height && !height)) {
        statusBar()->showMessage(tr("The points cannot move that far."), kMessageMs);
        return;
    }
    page->Shift({*east, *north, height});
}
