#include "coordbook/SwapRecordsCommand.h"

SwapRecordsCommand::SwapRecordsCommand(BookTableModel& model, const QString& text,
                                       std::vector<PointBook::Placed> records)
    : QUndoCommand(text), model_(model), records_(std::move(records)) {}
