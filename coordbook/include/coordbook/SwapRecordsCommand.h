#pragma once

#include "coordbook/BookTableModel.h"

#include <QUndoCommand>

// Puts changed records in place of the book's; undone by swapping back.
class SwapRecordsCommand : public QUndoCommand {
public:
    SwapRecordsCommand(BookTableModel& model, const QString& text,
                       std::vector<PointBook::Placed> records);

    void redo() override { model_.Swap(records_); }
    void undo() override { model_.Swap(records_); }

private:
    BookTableModel& model_;
    std::vector<PointBook::Placed> records_;
};
