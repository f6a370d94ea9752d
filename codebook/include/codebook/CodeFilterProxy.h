#pragma once

#include <QSortFilterProxyModel>

// Rows whose code or description holds the filter text, in the chosen
// group; sorted by a clicked column, or in the book's order.
class CodeFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetText(const QString& text);
    // Empty: every group.
    void SetGroup(const QString& group);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QString text_;
    QString group_;
};
