#pragma once

#include <QAbstractTableModel>

#include <vector>

class AlignmentDocument;

// The elements of the horizontal alignment, or the points of the vertical
// one, as table rows; an edited cell becomes one undo step of the document.
// Cells an element does not have are empty and read-only.
class AlignmentTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Part { Horizontal, Vertical };

    AlignmentTableModel(AlignmentDocument* document, Part part, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // A copy of the row (or a default element after the last) inserted
    // after row; the row removed. Each one undo step.
    void InsertAfter(int row);
    void Remove(int row);

private:
    QString Text(int row, int column) const;
    void Recompute();
    AlignmentDocument* document_;
    Part part_;
    // Where each element begins (NaN where it is not part of the line),
    // computed once per change rather than once per cell.
    std::vector<double> startChainages_;
};
