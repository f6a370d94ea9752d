#pragma once

#include <QUndoCommand>

class CodeTableModel;

// A code dragged to another place in the book.
class MoveCodeCommand : public QUndoCommand {
public:
    MoveCodeCommand(CodeTableModel& model, int from, int to);
    void undo() override;
    void redo() override;

private:
    CodeTableModel& model_;
    int from_;
    int to_;
};
