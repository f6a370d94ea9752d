#pragma once

#include <QPoint>

class CLeftView;
class QTreeWidgetItem;

// The instrument tree's context menus: the file menu of entries and detail
// nodes, "Port Set" on port nodes.
class LeftViewMenus {
public:
    explicit LeftViewMenus(CLeftView& view) : view_(view) {}

    void Show(QTreeWidgetItem* hit, QPoint global);

private:
    void ShowDetailMenu(QTreeWidgetItem* node, QPoint global);
    void ShowPortMenu(QTreeWidgetItem* node, QPoint global);

    CLeftView& view_;
};
