#include "codebook/CodeBookWindow.h"

#include "codebook/CodeBookFile.h"
#include "codebook/CodeDetails.h"
#include "codebook/CodeFilterProxy.h"
#include "codebook/CodeTableModel.h"
#include "codebook/JobCodesDialog.h"
#include "codebook/QtBookQuestions.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <set>

namespace {

constexpr int kListedRefusals = 12;

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CodeBookWindow::CodeBookWindow(std::unique_ptr<BookQuestions> questions, QWidget* parent)
    : QMainWindow(parent),
      questions_(questions ? std::move(questions) : std::make_unique<QtBookQuestions>()),
      model_(new CodeTableModel(undo_, this)), proxy_(new CodeFilterProxy(this)),
      table_(new QTableView(this)), details_(new CodeDetails(this)), filter_(new QLineEdit(this)),
      group_(new QComboBox(this)) {
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::DisplayRole);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    // Unsorted, the table shows the book's order, the one the instrument lists.
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setDragDropMode(QAbstractItemView::InternalMove);
    table_->setDragDropOverwriteMode(false);
    table_->setDefaultDropAction(Qt::MoveAction);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(22);

    filter_->setPlaceholderText(tr("Filter codes and descriptions"));
    filter_->setClearButtonEnabled(true);
    auto* top = new QWidget(this);
    auto* bar = new QHBoxLayout(top);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(new QLabel(tr("Filter:"), top));
    bar->addWidget(filter_, 1);
    bar->addWidget(new QLabel(tr("Group:"), top));
    bar->addWidget(group_);
    auto* left = new QWidget(this);
    auto* column = new QVBoxLayout(left);
    column->addWidget(top);
    column->addWidget(table_, 1);
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(details_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);

    BuildMenus();
    connect(filter_, &QLineEdit::textChanged, proxy_, &CodeFilterProxy::SetText);
    connect(group_, &QComboBox::currentIndexChanged, this,
            [this] { proxy_->SetGroup(group_->currentData().toString()); });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CodeBookWindow::SelectionChanged);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CodeBookWindow::SelectionChanged);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CodeBookWindow::RefreshGroups);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &CodeBookWindow::RefreshGroups);
    connect(model_, &QAbstractItemModel::modelReset, this, &CodeBookWindow::RefreshGroups);
    connect(details_, &CodeDetails::Changed, this,
            [this](const FeatureCode& code, const QString& what) {
                if (const int row = CurrentRow(); row >= 0) {
                    model_->Edit(row, code, what);
                }
            });
    connect(&undo_, &QUndoStack::cleanChanged, this, &CodeBookWindow::RefreshTitle);
    RefreshGroups();
    RefreshTitle();
    resize(1000, 640);
}

CodeBookWindow::~CodeBookWindow() {
    // The undo stack outlives the members declared after it and tells its
    // clean state once more while it is torn down: nobody may listen then.
    undo_.disconnect(this);
}

void CodeBookWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] {
        if (MayDiscard()) {
            model_->Reset({});
            path_.clear();
            format_ = CodeFormat::Book;
            RefreshTitle();
        }
    });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        if (MayDiscard()) {
            if (const QString path = questions_->AskOpenName(this); !path.isEmpty()) {
                OpenFile(path);
            }
        }
    });
    file->addAction(tr("&Save"), QKeySequence::Save, this, &CodeBookWindow::Save);
    file->addAction(tr("Save &As / Export..."), QKeySequence::SaveAs, this,
                    &CodeBookWindow::SaveAs);
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = undo_.createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = undo_.createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction* add = edit->addAction(tr("&Add Code"), QKeySequence(Qt::CTRL | Qt::Key_Insert), this,
                                   &CodeBookWindow::AddCode);
    QAction* remove = edit->addAction(tr("&Remove Code"), QKeySequence::Delete, this,
                                      &CodeBookWindow::RemoveCode);
    edit->addAction(tr("Book &Order"), this,
                    [this] { table_->sortByColumn(-1, Qt::AscendingOrder); });

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    QAction* used =
        tools->addAction(tr("&Codes Used in Jobs..."), this, &CodeBookWindow::CodesUsedInJobs);
    QToolBar* toolbar = addToolBar(tr("Codes"));
    toolbar->addActions({undo, redo, add, remove, used});
}

bool CodeBookWindow::OpenFile(const QString& path) {
    const CodeBookFile::Loaded loaded = CodeBookFile::Load(path.toStdString());
    if (!loaded.read) {
        questions_->Tell(this, tr("Cannot open %1: %2").arg(path, Qs(loaded.error)));
        return false;
    }
    model_->Reset(loaded.read->book);
    path_ = path;
    format_ = loaded.format;
    QStringList skipped;
    for (const SkippedLine& line : loaded.read->skipped) {
        skipped << tr("line %1: %2").arg(line.line).arg(Qs(line.reason));
    }
    if (!skipped.isEmpty()) {
        questions_->Tell(this,
                         tr("%1: these lines were skipped:\n%2")
                             .arg(path, skipped.mid(0, kListedRefusals).join(QLatin1Char('\n'))));
    }
    statusBar()->showMessage(
        tr("%1 codes (%2)").arg(model_->rowCount()).arg(CodeFormats::Title(format_)));
    RefreshTitle();
    return true;
}

bool CodeBookWindow::Save() {
    return path_.isEmpty() ? SaveAs() : SaveTo(path_, format_);
}

bool CodeBookWindow::SaveAs() {
    const auto choice = questions_->AskSaveName(this, path_, format_);
    return choice && SaveTo(choice->path, choice->format);
}

bool CodeBookWindow::SaveTo(const QString& path, CodeFormat format) {
    CodeBook book = model_->Book();
    if (book.name.empty()) {
        book.name = QFileInfo(path).completeBaseName().toStdString();
    }
    const CodeBookFile::Saved saved = CodeBookFile::Save(path.toStdString(), book, format);
    if (!saved.Ok()) {
        QStringList reasons;
        for (const auto& refusal : saved.refusals) {
            reasons << Qs(refusal.Text());
        }
        if (reasons.size() > kListedRefusals) {
            reasons = reasons.mid(0, kListedRefusals)
                      << tr("... and %1 more").arg(saved.refusals.size() - kListedRefusals);
        }
        questions_->Tell(this, tr("%1 was not written (%2):\n%3")
                                   .arg(path, QString::fromLatin1(CodeFormats::Title(format)),
                                        saved.error.empty() ? reasons.join(QLatin1Char('\n'))
                                                            : Qs(saved.error)));
        return false;
    }
    // A list for the instrument is an export: the book itself stays unsaved
    // when what was written lacks its drawing and descriptions.
    if (format == CodeFormat::Book || format == CodeFormat::Csv || path == path_) {
        path_ = path;
        format_ = format;
        undo_.setClean();
    }
    statusBar()->showMessage(
        tr("Saved %1 (%2)").arg(path, QString::fromLatin1(CodeFormats::Title(format))));
    RefreshTitle();
    return true;
}

void CodeBookWindow::AddCode() {
    const int row = CurrentRow() < 0 ? model_->rowCount() : CurrentRow() + 1;
    model_->Insert(row, FeatureCode{});
    const QModelIndex cell = proxy_->mapFromSource(model_->index(row, CodeTableModel::kCode));
    table_->setCurrentIndex(cell);
    table_->edit(cell);
}

void CodeBookWindow::RemoveCode() {
    if (const int row = CurrentRow(); row >= 0) {
        model_->Remove(row);
    }
}

void CodeBookWindow::CodesUsedInJobs() {
    const QStringList paths = questions_->AskJobNames(this);
    if (paths.isEmpty()) {
        return;
    }
    JobCodeUsage usage;
    QStringList notes;
    for (const QString& path : paths) {
        if (const std::string error = usage.Add(path.toStdString()); !error.empty()) {
            notes << Qs(error);
        }
    }
    if (usage.SkippedLines() > 0) {
        notes << tr("%1 lines of the jobs could not be read.").arg(usage.SkippedLines());
    }
    JobCodesDialog dialog(usage.Against(model_->Book()), notes, this);
    if (questions_->Run(dialog) != QDialog::Accepted || dialog.Missing().empty()) {
        return;
    }
    undo_.beginMacro(tr("Add Missing Codes"));
    for (const std::string& code : dialog.Missing()) {
        model_->Insert(model_->rowCount(), FeatureCode{.code = code});
    }
    undo_.endMacro();
}

void CodeBookWindow::closeEvent(QCloseEvent* event) {
    if (MayDiscard()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool CodeBookWindow::MayDiscard() {
    if (undo_.isClean()) {
        return true;
    }
    const QString name = path_.isEmpty() ? tr("The new codebook") : QFileInfo(path_).fileName();
    switch (questions_->AskSaveChanges(this, tr("%1 has unsaved changes. Save them?").arg(name))) {
    case QMessageBox::Save:
        return Save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

int CodeBookWindow::CurrentRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? proxy_->mapToSource(current).row() : -1;
}

void CodeBookWindow::SelectionChanged() {
    const int row = CurrentRow();
    details_->Show(row >= 0 && row < model_->rowCount() ? &model_->Book().codes[row] : nullptr);
}

void CodeBookWindow::RefreshGroups() {
    std::set<std::string> groups;
    for (const FeatureCode& code : model_->Book().codes) {
        if (!code.group.empty()) {
            groups.insert(code.group);
        }
    }
    const QString chosen = group_->currentData().toString();
    const QSignalBlocker quiet(group_);
    group_->clear();
    group_->addItem(tr("All groups"), QString());
    for (const std::string& group : groups) {
        group_->addItem(Qs(group), Qs(group));
    }
    group_->setCurrentIndex(std::max(0, group_->findData(chosen)));
}

void CodeBookWindow::RefreshTitle() {
    const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
    setWindowTitle(name + QStringLiteral("[*] - ") + tr("Codebook Manager"));
    setWindowModified(!undo_.isClean());
}
