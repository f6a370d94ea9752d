#pragma once

#include <QString>
#include <QTreeWidgetItem>

// The child of a tree node with that label, as a user finds it by eye; null
// when the node is null or has no such child.
inline QTreeWidgetItem* Child(const QTreeWidgetItem* parent, const QString& text) {
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text) {
            return parent->child(i);
        }
    }
    return nullptr;
}
