#include "workbench/HasAncestors.h"

#include <QTreeWidgetItem>

bool HasAncestors(const QTreeWidgetItem* item, int n) {
    // Each step: n = 0 answers true, else the parent must exist with a label.
    // A negative n never reaches 0 and so runs into a root: false.
    for (; n != 0; --n) {
        const QTreeWidgetItem* parent = item != nullptr ? item->parent() : nullptr;
        if (parent == nullptr || parent->text(0).isEmpty()) {
            return false;
        }
        item = parent;
    }
    return true;
}
