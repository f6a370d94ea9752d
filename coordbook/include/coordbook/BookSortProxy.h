#pragma once

#include <QSortFilterProxyModel>

#include <cstddef>
#include <string>

class BookTableModel;

// The table's order and filter: names in NameOrder, coordinates by value,
// codes byte by byte; a filter text keeps the points whose name or code
// holds it (letters in any case).
class BookSortProxy : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit BookSortProxy(BookTableModel& model, QObject* parent = nullptr);

    void SetFilterText(const QString& text);
    // Whether the filter lets the source row through.
    bool Accepts(std::size_t row) const;

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    BookTableModel& model_;
    std::string filter_; // wire bytes, lower case
};
