#include "coordbook/BookSortProxy.h"

#include "coordbook/BookTableModel.h"
#include "coordbook/NameOrder.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>
#include <cstring>

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

bool BookSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto rowA = static_cast<std::size_t>(left.row());
    const auto rowB = static_cast<std::size_t>(right.row());
    if (static_cast<BookColumn>(left.column()) == BookColumn::Name) {
        return NameLess(rowA, rowB);
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

// Most names differ within their short keys; only names alike at length
// are read themselves.
bool BookSortProxy::NameLess(std::size_t a, std::size_t b) const {
    const NameOrder::ShortKey& keyA = model_.NameKey(a);
    const NameOrder::ShortKey& keyB = model_.NameKey(b);
    const int order = std::memcmp(keyA.data(), keyB.data(), keyA.size());
    if (order != 0 || keyA.back() != NameOrder::kCut) {
        return order < 0;
    }
    return NameOrder::Less(model_.Book().Row(a).point.name, model_.Book().Row(b).point.name);
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
