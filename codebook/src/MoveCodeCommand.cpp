#include "codebook/MoveCodeCommand.h"

#include "codebook/CodeTableModel.h"

MoveCodeCommand::MoveCodeCommand(CodeTableModel& model, int from, int to)
    : QUndoCommand(QObject::tr("Move Code")), model_(model), from_(from), to_(to) {}

void MoveCodeCommand::undo() {
    model_.ApplyMove(to_, from_);
}

void MoveCodeCommand::redo() {
    model_.ApplyMove(from_, to_);
}
