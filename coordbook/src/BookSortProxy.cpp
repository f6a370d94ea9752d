#include "coordbook/BookSortProxy.h"

#include "coordbook/BookTableModel.h"
#include "coordbook/NameOrder.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Holds(const std::string& text, const std::string& lowerPart) {
    return std::search(text.begin(), text.end(), lowerPart.begin(), lowerPart.end(),
                       [](char a, char b) { return Lower(a) == b; }) != text.end();
}

} // namespace

BookSortProxy::BookSortProxy(BookTableModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(&model);
}

void BookSortProxy::SetFilterText(const QString& text) {
    std::string bytes = CodePage::Wire().ToAnsi(text.toStdU16String());
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), Lower);
    filter_ = std::move(bytes);
    invalidateRowsFilter();
}

void BookSortProxy::sort(int column, Qt::SortOrder order) {
    if (static_cast<BookColumn>(column) == BookColumn::Name) {
        model_.RankNames();
    }
    QSortFilterProxyModel::sort(column, order);
}

bool BookSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto rowA = static_cast<std::size_t>(left.row());
    const auto rowB = static_cast<std::size_t>(right.row());
    if (static_cast<BookColumn>(left.column()) == BookColumn::Name) {
        return model_.NameLess(rowA, rowB);
    }
    const BookRecord& a = model_.Book().Row(rowA);
    const BookRecord& b = model_.Book().Row(rowB);
    switch (static_cast<BookColumn>(left.column())) {
    case BookColumn::Name:
        break;
    case BookColumn::East:
        return a.point.east < b.point.east;
    case BookColumn::North:
        return a.point.north < b.point.north;
    case BookColumn::Height:
        // Points without height last.
        return b.point.height && (!a.point.height || *a.point.height < *b.point.height);
    case BookColumn::Code:
        return a.point.code < b.point.code;
    }
    return false;
}

bool BookSortProxy::filterAcceptsRow(int row, const QModelIndex& /*parent*/) const {
    return Accepts(static_cast<std::size_t>(row));
}

bool BookSortProxy::Accepts(std::size_t row) const {
    if (filter_.empty()) {
        return true;
    }
    const BookRecord& record = model_.Book().Row(row);
    return Holds(record.point.name, filter_) || Holds(record.point.code, filter_);
}
