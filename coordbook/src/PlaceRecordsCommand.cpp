#include "coordbook/PlaceRecordsCommand.h"

PlaceRecordsCommand::PlaceRecordsCommand(BookTableModel& model, const QString& text, bool adding)
    : QUndoCommand(text), model_(model), adding_(adding) {}

PlaceRecordsCommand* PlaceRecordsCommand::Adding(BookTableModel& model, const QString& text,
                                                 std::vector<PointBook::Placed> records) {
    auto* command = new PlaceRecordsCommand(model, text, true);
    command->records_ = std::move(records);
    return command;
}

PlaceRecordsCommand* PlaceRecordsCommand::Taking(BookTableModel& model, const QString& text,
                                                 std::vector<std::size_t> indices) {
    auto* command = new PlaceRecordsCommand(model, text, false);
    command->indices_ = std::move(indices);
    return command;
}

void PlaceRecordsCommand::redo() {
    adding_ ? Put() : Take();
}

void PlaceRecordsCommand::undo() {
    adding_ ? Take() : Put();
}

void PlaceRecordsCommand::Put() {
    indices_.clear();
    for (const auto& placed : records_) {
        indices_.push_back(placed.first);
    }
    model_.Insert(std::move(records_));
    records_.clear();
}

void PlaceRecordsCommand::Take() {
    records_ = model_.Remove(indices_);
}
