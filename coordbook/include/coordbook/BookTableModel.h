#pragma once

#include "coordbook/BookEdits.h"
#include "coordbook/DuplicateNames.h"
#include "coordbook/NameOrder.h"
#include "coordbook/PointBook.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

class QUndoStack;

// The points of one file as a table: name, easting, northing, height and
// code, edited in place. An edit that fits becomes a command on the undo
// stack; one that does not is refused with the reason (editRefused).
// Names used by more than one point are marked.
//
// Every change of the book goes through Swap, Insert and Remove, which
// the undo commands call and which tell the views what changed.
class BookTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using Placed = PointBook::Placed;

    BookTableModel(std::unique_ptr<PointBook> book, QUndoStack& undo, QObject* parent = nullptr);

    const PointBook& Book() const { return *book_; }
    std::size_t Duplicates(const std::string& name) const { return names_.Count(name); }
    // Row a before row b in name order: by their ranks while these stand,
    // otherwise by the short keys kept beside the rows, the names only
    // where those cannot tell.
    bool NameLess(std::size_t a, std::size_t b) const;
    // Ranks every row in name order for a sort of many rows: sorting the
    // keys themselves reads memory in order, which comparing rows by index
    // does not. Any change of the points drops the ranks.
    void RankNames();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Pushes a command that swaps the records in, or says why not.
    bool Change(const QString& what, std::optional<std::vector<Placed>> records,
                const std::string& reason);

    void Swap(std::vector<Placed>& records);
    void Insert(std::vector<Placed> records);
    std::vector<Placed> Remove(const std::vector<std::size_t>& indices);

    // Texts of the book's bytes and numbers.
    static QString Text(const std::string& bytes);
    static QString Text(const FixedDecimal& value);

signals:
    void editRefused(const QString& reason);
    // After every change of the points.
    void pointsChanged();

private:
    void Count(const std::vector<Placed>& records, bool add);
    // Counts the names and keys the rows anew.
    void IndexAll();
    std::vector<Placed> RemoveRun(const std::vector<std::size_t>& run);
    // New records whose points become neighbouring rows from firstRow on;
    // inserted counts the new points.
    void InsertRun(std::vector<Placed> run, std::size_t firstRow, std::size_t& inserted);
    // Point rows by record, in runs of neighbouring rows.
    std::vector<std::vector<std::size_t>> RowRuns(const std::vector<std::size_t>& records) const;

    std::unique_ptr<PointBook> book_;
    QUndoStack& undo_;
    DuplicateNames names_;
    std::vector<NameOrder::ShortKey> keys_;
    std::vector<std::uint32_t> ranks_;
};
