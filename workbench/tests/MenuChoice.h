#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

// The action of a menu with that text, as a user picking it would; null when
// the menu has none.
inline QAction* ActionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}
