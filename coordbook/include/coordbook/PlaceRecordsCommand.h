#pragma once

#include "coordbook/BookTableModel.h"

#include <QUndoCommand>

// Adds records to the book or takes them out; undone the other way round.
class PlaceRecordsCommand : public QUndoCommand {
public:
    // New records, by the index each will have.
    static PlaceRecordsCommand* Adding(BookTableModel& model, const QString& text,
                                       std::vector<PointBook::Placed> records);
    // Records by index, ascending.
    static PlaceRecordsCommand* Taking(BookTableModel& model, const QString& text,
                                       std::vector<std::size_t> indices);

    void redo() override;
    void undo() override;

private:
    PlaceRecordsCommand(BookTableModel& model, const QString& text, bool adding);
    void Put();
    void Take();

    BookTableModel& model_;
    bool adding_;
    // Out of the book: the records; in it: their indices.
    std::vector<PointBook::Placed> records_;
    std::vector<std::size_t> indices_;
};
