#include "codebook/CodeEditCommand.h"

#include "codebook/CodeTableModel.h"

CodeEditCommand::CodeEditCommand(CodeTableModel& model, int row, std::optional<FeatureCode> before,
                                 std::optional<FeatureCode> after, const QString& text)
    : QUndoCommand(text), model_(model), row_(row), before_(std::move(before)),
      after_(std::move(after)) {}

void CodeEditCommand::undo() {
    Put(after_, before_);
}

void CodeEditCommand::redo() {
    Put(before_, after_);
}

void CodeEditCommand::Put(const std::optional<FeatureCode>& from,
                          const std::optional<FeatureCode>& to) {
    if (from && to) {
        model_.ApplyReplace(row_, *to);
    } else if (to) {
        model_.ApplyInsert(row_, *to);
    } else {
        model_.ApplyRemove(row_);
    }
}
