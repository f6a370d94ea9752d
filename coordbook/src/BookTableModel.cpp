#include "coordbook/BookTableModel.h"

#include "coordbook/SwapRecordsCommand.h"
#include "fielddata/FieldText.h"

#include <QColor>
#include <QFont>
#include <QUndoStack>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr int kColumns = 5;
// Beyond this many runs of rows a change tells the views to start anew.
constexpr std::size_t kMaxRuns = 64;

BookColumn ColumnOf(const QModelIndex& index) {
    return static_cast<BookColumn>(index.column());
}

} // namespace

BookTableModel::BookTableModel(std::unique_ptr<PointBook> book, QUndoStack& undo, QObject* parent)
    : QAbstractTableModel(parent), book_(std::move(book)), undo_(undo) {
    IndexAll();
}

QString BookTableModel::Text(const std::string& bytes) {
    return QString::fromStdU16String(FieldText::ToUtf16(bytes));
}

QString BookTableModel::Text(const FixedDecimal& value) {
    std::string text;
    value.AppendTo(text);
    return QString::fromLatin1(text);
}

int BookTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(book_->Rows());
}

int BookTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant BookTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const BookRecord& record = book_->Row(static_cast<std::size_t>(index.row()));
    const BookColumn column = ColumnOf(index);
    const bool number = column != BookColumn::Name && column != BookColumn::Code;
    const std::size_t sameName = column == BookColumn::Name ? Duplicates(record.point.name) : 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (column) {
        case BookColumn::Name:
            return Text(record.point.name);
        case BookColumn::East:
            return Text(record.exact.east);
        case BookColumn::North:
            return Text(record.exact.north);
        case BookColumn::Height:
            return record.exact.height ? Text(*record.exact.height) : QString();
        case BookColumn::Code:
            return Text(record.point.code);
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(number ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return sameName > 1 ? QVariant(QColor(0xFF, 0xC8, 0xC8)) : QVariant();
    case Qt::ToolTipRole:
        if (sameName > 1) {
            return tr("%1 points are called %2").arg(sameName).arg(Text(record.point.name));
        }
        return record.point.Computed() && number
                   ? QVariant(tr("Computed from the observation and its station set-up; "
                                 "an edit writes the coordinates into the block"))
                   : QVariant();
    case Qt::FontRole:
        if (record.point.Computed() && number) {
            QFont font;
            font.setItalic(true); // computed, not measured or given
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant BookTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    const char* const titles[kColumns] = {"Name", "Easting", "Northing", "Height", "Code"};
    return section >= 0 && section < kColumns ? tr(titles[section]) : QVariant();
}

Qt::ItemFlags BookTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool BookTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const auto row = static_cast<std::size_t>(index.row());
    std::string reason;
    const auto records =
        BookEdits(*book_).SetField(row, ColumnOf(index), value.toString().toStdU16String(), reason);
    const QString what = tr("Edit %1 of %2")
                             .arg(headerData(index.column(), Qt::Horizontal).toString().toLower(),
                                  Text(book_->Row(row).point.name));
    return Change(what, records, reason);
}

bool BookTableModel::Change(const QString& what, std::optional<std::vector<Placed>> records,
                            const std::string& reason) {
    if (!records) {
        emit editRefused(QString::fromStdString(reason));
        return false;
    }
    if (!records->empty()) {
        undo_.push(new SwapRecordsCommand(*this, what, std::move(*records)));
    }
    return true;
}

void BookTableModel::Swap(std::vector<Placed>& records) {
    ranks_.clear();
    const std::size_t rows = book_->Rows();
    if (std::any_of(records.begin(), records.end(), [this](const Placed& placed) {
            return placed.second.IsPoint() != book_->Records()[placed.first].IsPoint();
        })) {
        beginResetModel();
        book_->Swap(records);
        IndexAll();
        endResetModel();
    } else if (!records.empty()) {
        Count(records, true);
        book_->Swap(records);
        Count(records, false);
        std::size_t first = book_->RowsBefore(records.front().first);
        std::size_t last = first;
        for (const auto& placed : records) {
            const std::size_t row = book_->RowsBefore(placed.first);
            if (placed.second.IsPoint()) {
                keys_[row] = NameOrder::Short(book_->Row(row).point.name);
            }
            first = std::min(first, row);
            last = std::max(last, row);
        }
        last = std::min(last, rows == 0 ? 0 : rows - 1);
        emit dataChanged(index(static_cast<int>(first), 0),
                         index(static_cast<int>(last), kColumns - 1));
    }
    emit pointsChanged();
}

std::vector<std::vector<std::size_t>>
BookTableModel::RowRuns(const std::vector<std::size_t>& records) const {
    std::vector<std::vector<std::size_t>> runs;
    std::optional<std::size_t> lastRow;
    for (const std::size_t record : records) {
        const auto row = book_->RowOfRecord(record);
        if (runs.empty() || (row && lastRow && *row != *lastRow + 1)) {
            runs.emplace_back();
        }
        runs.back().push_back(record);
        lastRow = row ? row : lastRow;
    }
    return runs;
}

std::vector<BookTableModel::Placed>
BookTableModel::Remove(const std::vector<std::size_t>& indices) {
    ranks_.clear();
    const auto runs = RowRuns(indices);
    std::vector<Placed> removed;
    if (runs.size() > kMaxRuns) {
        beginResetModel();
        removed = book_->Remove(indices);
        IndexAll();
        endResetModel();
    } else {
        // From the last run to the first, so earlier records keep their index.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            auto taken = RemoveRun(*run);
            removed.insert(removed.end(), std::make_move_iterator(taken.begin()),
                           std::make_move_iterator(taken.end()));
        }
        std::sort(removed.begin(), removed.end(),
                  [](const Placed& a, const Placed& b) { return a.first < b.first; });
    }
    emit pointsChanged();
    return removed;
}

std::vector<BookTableModel::Placed> BookTableModel::RemoveRun(const std::vector<std::size_t>& run) {
    std::vector<std::size_t> rows;
    for (const std::size_t record : run) {
        if (const auto row = book_->RowOfRecord(record)) {
            rows.push_back(*row);
        }
    }
    if (!rows.empty()) {
        beginRemoveRows({}, static_cast<int>(rows.front()), static_cast<int>(rows.back()));
    }
    auto taken = book_->Remove(run);
    Count(taken, false);
    if (!rows.empty()) {
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(rows.front()),
                    keys_.begin() + static_cast<std::ptrdiff_t>(rows.back() + 1));
        endRemoveRows();
    }
    return taken;
}

void BookTableModel::Insert(std::vector<Placed> records) {
    ranks_.clear();
    // Rows of existing points before each new record: new points with the
    // same count are neighbours.
    std::vector<std::size_t> before;
    for (std::size_t i = 0; i < records.size(); ++i) {
        before.push_back(book_->RowsBefore(records[i].first - i));
    }
    if (std::set<std::size_t>(before.begin(), before.end()).size() > kMaxRuns) {
        beginResetModel();
        book_->Insert(std::move(records));
        IndexAll();
        endResetModel();
        emit pointsChanged();
        return;
    }
    std::size_t inserted = 0; // new points already in
    for (std::size_t i = 0; i < records.size();) {
        const std::size_t end =
            std::find_if(
                records.begin() + static_cast<std::ptrdiff_t>(i), records.end(),
                [&](const Placed& p) { return before[&p - records.data()] != before[i]; }) -
            records.begin();
        std::vector<Placed> run(
            std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(i)),
            std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(end)));
        InsertRun(std::move(run), before[i] + inserted, inserted);
        i = end;
    }
    emit pointsChanged();
}

void BookTableModel::InsertRun(std::vector<Placed> run, std::size_t firstRow,
                               std::size_t& inserted) {
    std::vector<NameOrder::ShortKey> keys;
    for (const auto& placed : run) {
        if (placed.second.IsPoint()) {
            keys.push_back(NameOrder::Short(placed.second.point.name));
        }
    }
    Count(run, true);
    const auto first = static_cast<int>(firstRow);
    if (!keys.empty()) {
        beginInsertRows({}, first, first + static_cast<int>(keys.size()) - 1);
    }
    book_->Insert(std::move(run));
    if (!keys.empty()) {
        keys_.insert(keys_.begin() + first, keys.begin(), keys.end());
        endInsertRows();
    }
    inserted += keys.size();
}

void BookTableModel::Count(const std::vector<Placed>& records, bool add) {
    for (const auto& [index, record] : records) {
        if (record.IsPoint()) {
            add ? names_.Add(record.point.name) : names_.Remove(record.point.name);
        }
    }
}

void BookTableModel::IndexAll() {
    ranks_.clear();
    names_.Clear();
    names_.Reserve(book_->Rows());
    keys_.clear();
    keys_.reserve(book_->Rows());
    for (std::size_t row = 0; row < book_->Rows(); ++row) {
        const std::string& name = book_->Row(row).point.name;
        names_.Add(name);
        keys_.push_back(NameOrder::Short(name));
    }
}

bool BookTableModel::NameLess(std::size_t a, std::size_t b) const {
    if (!ranks_.empty()) {
        return ranks_[a] < ranks_[b];
    }
    const NameOrder::ShortKey& keyA = keys_[a];
    const NameOrder::ShortKey& keyB = keys_[b];
    const int order = std::memcmp(keyA.data(), keyB.data(), keyA.size());
    if (order != 0 || keyA.back() != NameOrder::kCut) {
        return order < 0;
    }
    return NameOrder::Less(book_->Row(a).point.name, book_->Row(b).point.name);
}

void BookTableModel::RankNames() {
    if (!ranks_.empty() || keys_.empty()) {
        return;
    }
    std::vector<std::pair<NameOrder::ShortKey, std::uint32_t>> order;
    order.reserve(keys_.size());
    for (std::size_t row = 0; row < keys_.size(); ++row) {
        order.emplace_back(keys_[row], static_cast<std::uint32_t>(row));
    }
    const auto less = [this](const auto& a, const auto& b) {
        const int byKey = std::memcmp(a.first.data(), b.first.data(), a.first.size());
        if (byKey != 0 || a.first.back() != NameOrder::kCut) {
            return byKey < 0;
        }
        return NameOrder::Less(book_->Row(a.second).point.name, book_->Row(b.second).point.name);
    };
    std::sort(order.begin(), order.end(), less);
    std::vector<std::uint32_t> ranks(order.size());
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        // Equal names share a rank, so the proxy's stable sort keeps them in file order.
        rank += i > 0 && less(order[i - 1], order[i]) ? 1 : 0;
        ranks[order[i].second] = rank;
    }
    ranks_ = std::move(ranks);
}
