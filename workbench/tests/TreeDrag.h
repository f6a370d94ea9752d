#pragma once

#include <QApplication>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <functional>

// The user's drag from one tree to another: press on the item, move past
// the drag distance, move over the target and release there. overTarget
// runs while the button is still down over the target.
inline void DragBetweenTrees(QTreeWidget* from, QTreeWidgetItem* item, QTreeWidget* to,
                             QTreeWidgetItem* target,
                             const std::function<void()>& overTarget = {}) {
    from->scrollToItem(item);
    const QPoint start = from->visualItemRect(item).center();
    QTest::mousePress(from->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(from->viewport(), start + QPoint(QApplication::startDragDistance() + 5, 2));
    to->scrollToItem(target);
    const QPoint end = to->visualItemRect(target).center();
    QTest::mouseMove(to->viewport(), end);
    if (overTarget) {
        overTarget();
    }
    QTest::mouseRelease(to->viewport(), Qt::LeftButton, {}, end);
}
