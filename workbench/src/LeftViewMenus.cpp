#include "workbench/LeftViewMenus.h"

#include "workbench/CLeftView.h"
#include "workbench/InstrumentNode.h"
#include "workbench/WideText.h"

#include <QMenu>

void LeftViewMenus::Show(QTreeWidgetItem* hit, QPoint global) {
    view_.SetLastClicked(hit);
    // Entries offer what their detail nodes do; the dialogs ask a job's part.
    if (InstrumentNode::EntryOf(hit) != nullptr) {
        ShowDetailMenu(hit, global);
    }
    // The first menu may have removed the node (an erase empties its category).
    hit = view_.LastClickedItem();
    if (CLeftView::IsPortNode(hit)) {
        ShowPortMenu(hit, global);
    }
}

void LeftViewMenus::ShowDetailMenu(QTreeWidgetItem* node, QPoint global) {
    view_.SetPathLabel(InstrumentNode::Path(node));
    view_.setCurrentItem(node);
    QMenu menu(&view_);
    QAction* erase = menu.addAction(QStringLiteral("Delete File"));
    QAction* move = menu.addAction(QStringLiteral("Move File"));
    QAction* copy = menu.addAction(QStringLiteral("Copy File"));
    QAction* chosen = view_.ExecMenu(menu, global);
    if (chosen == erase) {
        view_.SendUserMessage(UM_DELETE_FILE, 0, ToLParam(node));
    } else if (chosen == move) {
        view_.SendUserMessage(UM_MOVE_FILE);
    } else if (chosen == copy) {
        view_.downloads_.CopyFile(node);
    }
}

void LeftViewMenus::ShowPortMenu(QTreeWidgetItem* node, QPoint global) {
    view_.setCurrentItem(node);
    QMenu menu(&view_);
    QAction* settings = menu.addAction(QStringLiteral("Port Set"));
    if (view_.ExecMenu(menu, global) == settings) {
        view_.SendUserMessage(UM_PORT_SETTINGS);
    }
}
