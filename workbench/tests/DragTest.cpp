// Mouse events go through the window, as the window system delivers them, so
// the tree's mouse capture decides who gets them.
#define QTEST_QPA_MOUSE_HANDLING

#include "RecordingTree.h"

#include "workbench/CHeaderStrip.h"
#include "workbench/CMainFrame.h"
#include "workbench/DragImage.h"
#include "workbench/HasAncestors.h"
#include "workbench/MySplitterWnd.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <functional>
#include <memory>
#include <string>

class DragTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dragFromOneTreeToTheOther();
    void dragWithinOneTree();
    void refusedSourceSendsNothingToTarget();
    void dropOnEmptySpaceHasNoTargetItem();
    void releaseOutsideTheTreesDoesNothing();
    void pictureFollowsTheCursorAndTargetIsHighlighted();
    void escapeCancelsTheDrag();
    void whatTakesTheMouseAwayEndsTheDrag();
    void dragItemDeletedDuringTheDragIsNotPassedOn();
    void smallMovesAndExpandButtonsStartNoDrag();
    void hasAncestorsStopsAtEmptyLabels();

private:
    static QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const QString& label);
    static QPoint Centre(const CTreeViewExtc* tree, const QTreeWidgetItem* item);
    static void PressAndLeave(QWidget* widget, QPoint point);
    static void MoveAndRelease(QWidget* widget, QPoint point);

    std::unique_ptr<CMainFrame> frame_;
    RecordingTree* left_ = nullptr;
    RecordingTree* right_ = nullptr;
    QTreeWidgetItem* leftRoot_ = nullptr;
    QTreeWidgetItem* leftEntry_ = nullptr;
    QTreeWidgetItem* rightRoot_ = nullptr;
    QTreeWidgetItem* rightFolder_ = nullptr;
};

void DragTest::init() {
    frame_ = MakeRecordingFrame(left_, right_);
    QVERIFY(frame_ != nullptr);

    leftRoot_ = new QTreeWidgetItem(left_, QStringList{QStringLiteral("X4 SERIES")});
    QTreeWidgetItem* port = AddItem(leftRoot_, QStringLiteral("COM1"));
    QTreeWidgetItem* category = AddItem(port, QStringLiteral("JOB"));
    leftEntry_ = AddItem(category, QStringLiteral("SITE1"));
    left_->expandAll();
    rightRoot_ = new QTreeWidgetItem(right_, QStringList{QStringLiteral("My Computer")});
    rightFolder_ = AddItem(AddItem(rightRoot_, QStringLiteral("/")), QStringLiteral("data"));
    right_->expandAll();

    frame_->resize(900, 600);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void DragTest::cleanup() {
    frame_.reset();
}

QTreeWidgetItem* DragTest::AddItem(QTreeWidgetItem* parent, const QString& label) {
    return new QTreeWidgetItem(parent, QStringList{label});
}

QPoint DragTest::Centre(const CTreeViewExtc* tree, const QTreeWidgetItem* item) {
    return tree->visualItemRect(item).center();
}

void DragTest::PressAndLeave(QWidget* widget, QPoint point) {
    QTest::mousePress(widget, Qt::LeftButton, {}, point);
    QTest::mouseMove(widget, point + QPoint(QApplication::startDragDistance() + 5, 2));
}

void DragTest::MoveAndRelease(QWidget* widget, QPoint point) {
    QTest::mouseMove(widget, point);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, point);
}

void DragTest::dragFromOneTreeToTheOther() {
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    QVERIFY(left_->IsDragging());
    MoveAndRelease(right_->viewport(), Centre(right_, rightFolder_));

    QVERIFY(!left_->IsDragging());
    QCOMPARE(left_->received.size(), 1u);
    QCOMPARE(left_->received[0].message, UM_DRAG_SOURCE);
    QCOMPARE(left_->received[0].wParam, WParam{0});
    QCOMPARE(left_->received[0].record.sourceItem, leftEntry_);
    QCOMPARE(left_->received[0].record.targetItem, rightFolder_);
    QCOMPARE(left_->received[0].record.jobPart, TransferRecord::kNoJobPart);
    QCOMPARE(right_->received.size(), 1u);
    QCOMPARE(right_->received[0].message, UM_DROP_TARGET);
    QCOMPARE(right_->received[0].record.sourceItem, leftEntry_);
    QCOMPARE(right_->received[0].record.targetItem, rightFolder_);
    // The picture is hidden but kept until the next drag.
    QVERIFY(left_->CurrentDragImage() != nullptr);
    QVERIFY(!left_->CurrentDragImage()->isVisible());
}

void DragTest::dragWithinOneTree() {
    QTreeWidgetItem* port = leftRoot_->child(0);
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    MoveAndRelease(left_->viewport(), Centre(left_, port));

    QCOMPARE(left_->received.size(), 2u);
    QCOMPARE(left_->received[0].message, UM_DRAG_SOURCE);
    QCOMPARE(left_->received[1].message, UM_DROP_TARGET);
    QCOMPARE(left_->received[1].record.sourceItem, leftEntry_);
    QCOMPARE(left_->received[1].record.targetItem, port);
    QVERIFY(right_->received.empty());
}

void DragTest::refusedSourceSendsNothingToTarget() {
    right_->sourceAnswer = 0;
    PressAndLeave(right_->viewport(), Centre(right_, rightRoot_));
    MoveAndRelease(left_->viewport(), Centre(left_, leftEntry_));

    QCOMPARE(right_->received.size(), 1u);
    QCOMPARE(right_->received[0].message, UM_DRAG_SOURCE);
    QCOMPARE(right_->received[0].record.sourceItem, rightRoot_);
    QVERIFY(left_->received.empty());
}

void DragTest::dropOnEmptySpaceHasNoTargetItem() {
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    MoveAndRelease(right_->viewport(), QPoint(20, right_->viewport()->height() - 10));

    QCOMPARE(right_->received.size(), 1u);
    QCOMPARE(right_->received[0].message, UM_DROP_TARGET);
    QCOMPARE(right_->received[0].record.sourceItem, leftEntry_);
    QCOMPARE(right_->received[0].record.targetItem, nullptr);
}

void DragTest::releaseOutsideTheTreesDoesNothing() {
    for (QWidget* elsewhere : {static_cast<QWidget*>(frame_->HeaderStrip(1)),
                               static_cast<QWidget*>(frame_->Splitter())}) {
        PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
        const QPoint point = elsewhere == frame_->Splitter()
                                 ? QPoint(left_->width() + 3, elsewhere->height() / 2)
                                 : elsewhere->rect().center();
        MoveAndRelease(elsewhere, point);
        QVERIFY(!left_->IsDragging());
    }
    QVERIFY(left_->received.empty());
    QVERIFY(right_->received.empty());
}

void DragTest::pictureFollowsTheCursorAndTargetIsHighlighted() {
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    const DragImage* picture = left_->CurrentDragImage();
    QVERIFY(picture != nullptr);
    QVERIFY(picture->isVisible());

    const QPoint over = Centre(right_, rightFolder_);
    QTest::mouseMove(right_->viewport(), over);
    QCOMPARE(picture->mapToGlobal(DragImage::kHotSpot), right_->viewport()->mapToGlobal(over));
    QCOMPARE(right_->DropHighlightItem(), rightFolder_);

    // Leaving the tree takes the highlight away.
    QTest::mouseMove(frame_->HeaderStrip(0), frame_->HeaderStrip(0)->rect().center());
    QCOMPARE(right_->DropHighlightItem(), nullptr);
    QTest::mouseMove(right_->viewport(), over);
    QCOMPARE(right_->DropHighlightItem(), rightFolder_);

    QTest::mouseRelease(right_->viewport(), Qt::LeftButton, {}, over);
    QVERIFY(!picture->isVisible());
    QCOMPARE(right_->DropHighlightItem(), nullptr);
}

void DragTest::escapeCancelsTheDrag() {
    left_->setFocus();
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    QVERIFY(left_->IsDragging());
    QTest::keyClick(left_, Qt::Key_Escape);
    QVERIFY(!left_->IsDragging());
    MoveAndRelease(right_->viewport(), Centre(right_, rightFolder_));
    QVERIFY(left_->received.empty());
    QVERIFY(right_->received.empty());
}

// A modal dialog, a popup or another window taking over mid-drag ends the
// drag: nothing is dropped, and a later plain click is only a click.
void DragTest::whatTakesTheMouseAwayEndsTheDrag() {
    struct Interruption {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> open;
    };
    const Interruption cases[] = {
        {"modal dialog",
         [this] {
             auto box =
                 std::make_unique<QMessageBox>(QMessageBox::Information, "Notice",
                                               "The line was lost.", QMessageBox::Ok, frame_.get());
             box->setWindowModality(Qt::ApplicationModal);
             box->show();
             return box;
         }},
        {"popup menu",
         [this] {
             auto menu = std::make_unique<QMenu>(frame_.get());
             menu->addAction(QStringLiteral("Item"));
             menu->popup(frame_->mapToGlobal(QPoint(40, 40)));
             return menu;
         }},
        {"another window",
         [] {
             auto other = std::make_unique<QWidget>();
             other->resize(200, 100);
             other->show();
             other->activateWindow();
             return other;
         }},
    };
    for (const Interruption& c : cases) {
        if (c.name == std::string("another window") &&
            QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
            continue; // only the compositor activates windows there
        }
        PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
        QVERIFY(left_->IsDragging());
        std::unique_ptr<QWidget> interruption = c.open();
        QTRY_VERIFY2(!left_->IsDragging(), c.name);
        QVERIFY(!left_->CurrentDragImage()->isVisible());
        // The button comes up in the other window, which then goes.
        QTest::mouseRelease(interruption.get(), Qt::LeftButton);
        interruption.reset();
        frame_->activateWindow();
        QTest::mouseClick(right_->viewport(), Qt::LeftButton, {}, Centre(right_, rightFolder_));
        QVERIFY2(left_->received.empty() && right_->received.empty(), c.name);
    }
}

void DragTest::dragItemDeletedDuringTheDragIsNotPassedOn() {
    PressAndLeave(left_->viewport(), Centre(left_, leftEntry_));
    // The instrument tree refills a category while the user drags.
    delete leftEntry_;
    leftEntry_ = nullptr;
    QCOMPARE(left_->DragItem(), nullptr);
    MoveAndRelease(right_->viewport(), Centre(right_, rightFolder_));

    QCOMPARE(left_->received.size(), 1u);
    QCOMPARE(left_->received[0].record.sourceItem, nullptr);
}

void DragTest::smallMovesAndExpandButtonsStartNoDrag() {
    const QPoint entry = Centre(left_, leftEntry_);
    QTest::mousePress(left_->viewport(), Qt::LeftButton, {}, entry);
    QTest::mouseMove(left_->viewport(), entry + QPoint(1, 1));
    QVERIFY(!left_->IsDragging());
    QTest::mouseRelease(left_->viewport(), Qt::LeftButton, {}, entry + QPoint(1, 1));

    // The expand button lies left of the item's own rectangle.
    const QRect rect = left_->visualItemRect(leftEntry_);
    const QPoint button(rect.left() - left_->indentation() / 2, rect.center().y());
    PressAndLeave(left_->viewport(), button);
    QVERIFY(!left_->IsDragging());
    QTest::mouseRelease(left_->viewport(), Qt::LeftButton, {}, button);
    QVERIFY(left_->received.empty());
}

void DragTest::hasAncestorsStopsAtEmptyLabels() {
    QTreeWidget tree;
    auto* root = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("root")});
    auto* blank = AddItem(root, QString());
    auto* underBlank = AddItem(blank, QStringLiteral("file"));
    auto* underBlankChild = AddItem(underBlank, QStringLiteral("detail"));
    auto* folder = AddItem(root, QStringLiteral("folder"));
    auto* file = AddItem(folder, QStringLiteral("file"));
    auto* blankLeaf = AddItem(file, QString());

    QVERIFY(HasAncestors(root, 0));
    QVERIFY(!HasAncestors(root, 1));
    QVERIFY(HasAncestors(file, 2));
    QVERIFY(!HasAncestors(file, 3));
    // A blank node's own label does not matter; its parents' labels do.
    QVERIFY(HasAncestors(blankLeaf, 3));
    QVERIFY(HasAncestors(blank, 1));
    QVERIFY(!HasAncestors(underBlank, 1));
    QVERIFY(HasAncestors(underBlankChild, 1));
    QVERIFY(!HasAncestors(underBlankChild, 2));
    QVERIFY(HasAncestors(nullptr, 0));
    QVERIFY(!HasAncestors(nullptr, 1));
    QVERIFY(!HasAncestors(file, -1));
}

QTEST_MAIN(DragTest)
#include "DragTest.moc"
