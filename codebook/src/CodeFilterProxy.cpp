#include "codebook/CodeFilterProxy.h"

#include "codebook/CodeTableModel.h"

void CodeFilterProxy::SetText(const QString& text) {
    text_ = text;
    invalidateFilter();
}

void CodeFilterProxy::SetGroup(const QString& group) {
    group_ = group;
    invalidateFilter();
}

bool CodeFilterProxy::filterAcceptsRow(int row, const QModelIndex& parent) const {
    const auto text = [&](int column) {
        return sourceModel()->index(row, column, parent).data().toString();
    };
    if (!group_.isEmpty() && text(CodeTableModel::kGroup) != group_) {
        return false;
    }
    return text_.isEmpty() || text(CodeTableModel::kCode).contains(text_, Qt::CaseInsensitive) ||
           text(CodeTableModel::kDescription).contains(text_, Qt::CaseInsensitive);
}
