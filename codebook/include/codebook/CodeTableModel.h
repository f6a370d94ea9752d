#pragma once

#include "codebook/CodeBook.h"

#include <QAbstractTableModel>

class QUndoStack;

// The codes of a book as table rows, in the book's order. Every change a
// user makes goes through the undo stack; the Apply* calls are what the
// undo commands use to change the book and tell the views.
class CodeTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        kCode,
        kDescription,
        kGroup,
        kLayer,
        kColour,
        kSymbol,
        kLine,
        kAttributes,
        kColumns
    };

    explicit CodeTableModel(QUndoStack& undo, QObject* parent = nullptr);

    const CodeBook& Book() const { return book_; }
    // A new book: no undo across it.
    void Reset(CodeBook book);

    // Undoable changes.
    void Edit(int row, const FeatureCode& code, const QString& what);
    void Insert(int row, const FeatureCode& code);
    void Remove(int row);
    void Move(int from, int to);

    void ApplyReplace(int row, const FeatureCode& code);
    void ApplyInsert(int row, const FeatureCode& code);
    void ApplyRemove(int row);
    void ApplyMove(int from, int to);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Dragging rows moves codes within the book.
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    static constexpr const char* kRowMime = "application/x-codebook-row";

private:
    QUndoStack& undo_;
    CodeBook book_;
};
