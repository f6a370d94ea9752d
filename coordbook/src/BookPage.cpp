#include "coordbook/BookPage.h"

#include "coordbook/BookEdits.h"
#include "coordbook/BookSortProxy.h"
#include "coordbook/BookTableModel.h"
#include "coordbook/PlaceRecordsCommand.h"
#include "sharedwidgets/PlanView.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

BookPage::BookPage(std::unique_ptr<PointBook> book, const QString& path, QWidget* parent)
    : QWidget(parent), path_(path), model_(new BookTableModel(std::move(book), undo_, this)),
      proxy_(new BookSortProxy(*model_, this)), filter_(new QLineEdit), table_(new QTableView),
      plan_(new PlanView), problems_(new QListWidget) {
    filter_->setPlaceholderText(tr("Filter by name or code"));
    filter_->setClearButtonEnabled(true);
    table_->setModel(proxy_);
    // File order until a header is clicked: no column sorted yet.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    const int digit = table_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[] = {14 * digit, 15 * digit, 15 * digit, 11 * digit};
    for (int column = 0; column < 4; ++column) {
        table_->setColumnWidth(column, widths[column]);
    }
    problems_->setMaximumHeight(6 * table_->fontMetrics().height());

    auto* left = new QWidget;
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(filter_);
    column->addWidget(table_, 1);
    column->addWidget(problems_);
    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(plan_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({70 * digit, 60 * digit});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy_->SetFilterText(text);
        RedrawPlan();
    });
    connect(model_, &BookTableModel::pointsChanged, this, &BookPage::RedrawPlan);
    connect(model_, &BookTableModel::editRefused, this, &BookPage::editRefused);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookPage::ShowSelectionInPlan);
    connect(plan_, &PlanView::pointClicked, this, &BookPage::SelectFromPlan);
    ShowProblems();
    RedrawPlan();
}

BookPage::~BookPage() {
    // The plan holds pointers into the book, which goes with the model.
    plan_->Clear();
}

QString BookPage::Points(std::size_t count) {
    return count == 1 ? tr("1 point") : tr("%1 points").arg(count);
}

QString BookPage::Title() const {
    return path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
}

const PointBook& BookPage::Book() const {
    return model_->Book();
}

void BookPage::MarkSaved(const QString& path) {
    path_ = path;
    undo_.setClean();
}

void BookPage::ShowProblems() {
    problems_->clear();
    for (const FieldFileError& problem : Book().Problems()) {
        auto* item = new QListWidgetItem(QString::fromStdString(problem.Text()), problems_);
        item->setForeground(QColor(0xB0, 0, 0));
    }
    problems_->setVisible(problems_->count() > 0);
}

void BookPage::RedrawPlan() {
    const PointBook& book = Book();
    std::vector<const SurveyPoint*> points;
    planRows_.clear();
    planIndexOfRow_.assign(book.Rows(), -1);
    for (std::size_t row = 0; row < book.Rows(); ++row) {
        if (proxy_->Accepts(row)) {
            planIndexOfRow_[row] = static_cast<int>(points.size());
            planRows_.push_back(row);
            points.push_back(&book.Row(row).point);
        }
    }
    plan_->SetPoints(std::move(points), PlanView::Fit::KeepMoved);
    ShowSelectionInPlan();
}

void BookPage::ShowSelectionInPlan() {
    std::vector<int> selected;
    for (const std::size_t row : SelectedRows()) {
        if (row < planIndexOfRow_.size() && planIndexOfRow_[row] >= 0) {
            selected.push_back(planIndexOfRow_[row]);
        }
    }
    plan_->SetSelection(std::move(selected));
}

void BookPage::SelectFromPlan(int index) {
    SelectRows({planRows_[static_cast<std::size_t>(index)]});
}

std::vector<std::size_t> BookPage::SelectedRows() const {
    QModelIndexList selected = table_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::size_t> rows;
    rows.reserve(static_cast<std::size_t>(selected.size()));
    for (const QModelIndex& index : selected) {
        rows.push_back(static_cast<std::size_t>(proxy_->mapToSource(index).row()));
    }
    return rows;
}

void BookPage::SelectRows(const std::vector<std::size_t>& rows) {
    QItemSelection selection;
    QModelIndex first;
    for (const std::size_t row : rows) {
        const QModelIndex index = proxy_->mapFromSource(model_->index(static_cast<int>(row), 0));
        if (index.isValid()) {
            selection.select(index, index);
            first = first.isValid() ? first : index;
        }
    }
    table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
    if (first.isValid()) {
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->scrollTo(first);
    }
}

std::string BookPage::FreeName(const std::string& after) const {
    const std::string start = after.empty() ? "P0" : after;
    std::string name;
    for (std::size_t count = 1; name.empty() || model_->Duplicates(name) > 0; ++count) {
        name = BookEdits::Counted(start, count, 1);
    }
    return name;
}

void BookPage::AddPoint() {
    const auto selected = SelectedRows();
    const std::optional<std::size_t> after =
        selected.empty() ? (Book().Rows() > 0 ? std::optional(Book().Rows() - 1) : std::nullopt)
                         : std::optional(selected.back());
    PointValues values = after ? Book().ValuesOfRow(*after) : PointValues{};
    values.name = FreeName(values.name);
    std::string reason;
    auto records = BookEdits(Book()).NewPoint(after, values, reason);
    if (!records) {
        emit editRefused(QString::fromStdString(reason));
        return;
    }
    const std::size_t record = records->front().first;
    undo_.push(PlaceRecordsCommand::Adding(
        *model_, tr("Add %1").arg(BookTableModel::Text(values.name)), std::move(*records)));
    const std::size_t row = *Book().RowOfRecord(record);
    SelectRows({row});
    table_->edit(proxy_->mapFromSource(model_->index(static_cast<int>(row), 0)));
}

void BookPage::DeleteSelected() {
    const auto rows = SelectedRows();
    if (rows.empty()) {
        return;
    }
    undo_.push(PlaceRecordsCommand::Taking(*model_, tr("Delete %1").arg(Points(rows.size())),
                                           BookEdits(Book()).RecordsOf(rows)));
}

bool BookPage::Renumber(const QString& first, int step) {
    const auto rows = SelectedRows();
    std::string reason;
    return model_->Change(tr("Renumber %1").arg(Points(rows.size())),
                          BookEdits(Book()).Renumber(rows, first.toStdU16String(), step, reason),
                          reason);
}

bool BookPage::Shift(const ExactCoordinates& by) {
    const auto rows = SelectedRows();
    std::string reason;
    return model_->Change(tr("Shift %1").arg(Points(rows.size())),
                          BookEdits(Book()).Shift(rows, by, reason), reason);
}
