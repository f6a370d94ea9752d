#pragma once

#include "codebook/FeatureCode.h"

#include <QUndoCommand>

#include <optional>

class CodeTableModel;

// One code changed, added (no before) or removed (no after).
class CodeEditCommand : public QUndoCommand {
public:
    CodeEditCommand(CodeTableModel& model, int row, std::optional<FeatureCode> before,
                    std::optional<FeatureCode> after, const QString& text);
    void undo() override;
    void redo() override;

private:
    void Put(const std::optional<FeatureCode>& from, const std::optional<FeatureCode>& to);

    CodeTableModel& model_;
    int row_;
    std::optional<FeatureCode> before_;
    std::optional<FeatureCode> after_;
};
