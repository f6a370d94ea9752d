#pragma once

#include "workbench/DragImage.h"
#include "workbench/MessageTarget.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QTreeWidget>

// The common base of the two tree panes. It lets the user drag an item with
// the left button, with a picture of the item following the cursor, and drop
// it on an item of either tree (or of the same one). The drag lives on the
// press: the press's implicit grab brings every move and the release to this
// tree, and whatever takes the mouse away (a modal dialog, a popup, the
// window losing activation) ends the drag without a drop.
// It does not know what the items mean: at the drop it fills a
// TransferRecord, sends UM_DRAG_SOURCE to this tree and, when that answers
// non-zero, UM_DROP_TARGET to the tree under the cursor. Derived trees
// handle the messages in OnUserMessage(); this base refuses every drag.
//
// Drops of files from other programs (the desktop's file manager) use Qt's
// own drag and drop; SetAcceptsFileDrops(true) turns each dropped file into
// UM_DROP_TARGET, as if it had been dragged from the PC tree.
class CTreeViewExtc : public QTreeWidget, public MessageTarget {
    Q_OBJECT

public:
    explicit CTreeViewExtc(QWidget* parent = nullptr);
    ~CTreeViewExtc() override;

    // Called once by the frame after all panes exist, so a tree may fill
    // itself and find the other panes.
    virtual void OnInitialUpdate() {}

    bool IsDragging() const { return dragging_; }
    // The item being dragged (or dragged last); null when it has been deleted.
    QTreeWidgetItem* DragItem() const;
    // The picture of the current or last drag; null when there is none.
    const DragImage* CurrentDragImage() const { return dragImage_; }
    // The item under a point in screen coordinates; null over empty space.
    QTreeWidgetItem* HitTest(QPoint global) const;
    // The item marked as the place a drag would drop on; null when none.
    QTreeWidgetItem* DropHighlightItem() const;

    // Shows text in the path label of the header strip above this tree.
    void SetPathLabel(const QString& text);

    // Whether files dropped from other programs (text/uri-list of local
    // files) are taken: each regular file becomes UM_DROP_TARGET with a
    // TransferRecord whose source is the file's path, targetItem the item
    // under the drop point (null over empty space) and sourceItem null. The
    // messages are sent after the drop has been answered, so the other
    // program is not held while a handler shows dialogs. Off at start.
    void SetAcceptsFileDrops(bool accept);
    bool AcceptsFileDrops() const { return acceptsFileDrops_; }

protected:
    // Drag protocol and commands; the base answers 0 to everything.
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override;
    // The picture of an item for a drag; a null picture means no drag starts.
    virtual QPixmap CreateDragImage(QTreeWidgetItem* item) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    bool BeginDrag(QTreeWidgetItem* item, QPoint global);
    void EndDrag();
    bool TakesTheMouseAway(const QObject* watched, const QEvent* event) const;
    void Drop(CTreeViewExtc* target, QPoint global);
    void HighlightDropTarget(QPoint global);
    void SetDropHighlight(QTreeWidgetItem* item);
    static CTreeViewExtc* TreeAt(QPoint global);
    static QWidget* WidgetUnder(QPoint global);
    QStringList DroppedFiles(const QDropEvent* event) const;
    void DeliverDroppedFiles(const QStringList& files, const QPersistentModelIndex& target);

    bool dragging_ = false;
    // Inside the window it may be a child of the window, which then owns it.
    QPointer<DragImage> dragImage_;
    QPersistentModelIndex dragIndex_;
    // Where the left button went down on an item: a drag may start from there.
    QPersistentModelIndex pressIndex_;
    QPoint pressPos_;
    // The tree that shows the drop highlight of the running drag.
    QPointer<CTreeViewExtc> highlightTree_;
    QPersistentModelIndex dropHighlight_;
    bool acceptsFileDrops_ = false;
};
