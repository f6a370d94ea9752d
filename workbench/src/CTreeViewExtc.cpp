#include "workbench/CTreeViewExtc.h"

#include "workbench/CMainFrame.h"
#include "workbench/DragImage.h"
#include "workbench/TransferRecord.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace {
constexpr int kDropHighlightAlpha = 90;
} // namespace

CTreeViewExtc::CTreeViewExtc(QWidget* parent) : QTreeWidget(parent), MessageTarget(this) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The drag between the trees is our own; Qt's item drag stays off.
    setDragEnabled(false);
}

CTreeViewExtc::~CTreeViewExtc() {
    CloseMessages();
    if (dragging_) {
        EndDrag();
    }
    delete dragImage_;
}

QTreeWidgetItem* CTreeViewExtc::DragItem() const {
    return dragIndex_.isValid() ? itemFromIndex(dragIndex_) : nullptr;
}

QTreeWidgetItem* CTreeViewExtc::HitTest(QPoint global) const {
    const QPoint point = viewport()->mapFromGlobal(global);
    return viewport()->rect().contains(point) ? itemAt(point) : nullptr;
}

QTreeWidgetItem* CTreeViewExtc::DropHighlightItem() const {
    return dropHighlight_.isValid() ? itemFromIndex(dropHighlight_) : nullptr;
}

void CTreeViewExtc::SetPathLabel(const QString& text) {
    if (CMainFrame* frame = CMainFrame::Of(this)) {
        frame->SetPathLabel(this, text);
    }
}

void CTreeViewExtc::SetAcceptsFileDrops(bool accept) {
    acceptsFileDrops_ = accept;
    setAcceptDrops(accept);
}

LResult CTreeViewExtc::OnUserMessage(UserMessage, WParam, LParam) {
    return 0;
}

QPixmap CTreeViewExtc::CreateDragImage(QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return {};
    }
    QSize size = iconSize();
    if (!size.isValid()) {
        const int metric = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
        size = QSize(metric, metric);
    }
    return DragImage::Render(item->icon(0), item->text(0), size, *this);
}

void CTreeViewExtc::mousePressEvent(QMouseEvent* event) {
    if (dragging_) {
        // The release of the drag's press went elsewhere.
        EndDrag();
    }
    pressIndex_ = QPersistentModelIndex();
    if (event->button() == Qt::LeftButton) {
        // A drag starts from an item's own rectangle, not from its expand button.
        const QPoint point = event->position().toPoint();
        const QModelIndex index = indexAt(point);
        if (index.isValid() && visualRect(index).contains(point)) {
            pressIndex_ = index;
            pressPos_ = point;
        }
    }
    QTreeWidget::mousePressEvent(event);
}

void CTreeViewExtc::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (dragging_ && !(event->buttons() & Qt::LeftButton)) {
        // The button came up where we did not see it.
        EndDrag();
    }
    if (dragging_) {
        // The tree's own handling of a held button would select rows on the
        // way; during a drag only the picture moves.
        dragImage_->MoveTo(global);
        HighlightDropTarget(global);
        return;
    }
    const QPoint point = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && pressIndex_.isValid() &&
        (point - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        QTreeWidgetItem* item = itemFromIndex(pressIndex_);
        pressIndex_ = QPersistentModelIndex();
        if (BeginDrag(item, viewport()->mapToGlobal(pressPos_))) {
            dragImage_->MoveTo(global);
            HighlightDropTarget(global);
            return;
        }
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CTreeViewExtc::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
    EndDrag();
    const QPoint global = event->globalPosition().toPoint();
    CTreeViewExtc* target = TreeAt(global);
    // The tree finishes its press before the drop's handlers run, as they may
    // show modal dialogs.
    QTreeWidget::mouseReleaseEvent(event);
    if (target != nullptr) {
        Drop(target, global);
    }
}

void CTreeViewExtc::keyPressEvent(QKeyEvent* event) {
    if (dragging_ && event->key() == Qt::Key_Escape) {
        EndDrag();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool CTreeViewExtc::eventFilter(QObject* watched, QEvent* event) {
    if (dragging_ && TakesTheMouseAway(watched, event)) {
        EndDrag();
    }
    return QTreeWidget::eventFilter(watched, event);
}

// Whether an event of the application ends the press the drag lives on: a
// modal dialog blocks the window (its button may come up in the dialog), the
// window is deactivated, or a popup takes the mouse.
bool CTreeViewExtc::TakesTheMouseAway(const QObject* watched, const QEvent* event) const {
    const QWidget* ours = window();
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
        return watched == ours || watched == ours->windowHandle();
    case QEvent::Show:
        return watched->isWidgetType() &&
               static_cast<const QWidget*>(watched)->windowType() == Qt::Popup;
    default:
        return false;
    }
}

void CTreeViewExtc::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFiles(event).isEmpty()) {
        QTreeWidget::dragEnterEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CTreeViewExtc::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedFiles(event).isEmpty()) {
        QTreeWidget::dragMoveEvent(event);
        return;
    }
    SetDropHighlight(itemAt(event->position().toPoint()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CTreeViewExtc::dragLeaveEvent(QDragLeaveEvent* event) {
    SetDropHighlight(nullptr);
    QTreeWidget::dragLeaveEvent(event);
}

void CTreeViewExtc::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event);
    if (files.isEmpty()) {
        QTreeWidget::dropEvent(event);
        return;
    }
    SetDropHighlight(nullptr);
    const QPersistentModelIndex target(indexAt(event->position().toPoint()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
    QTimer::singleShot(0, this, [this, files, target] { DeliverDroppedFiles(files, target); });
}

void CTreeViewExtc::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    if (dropHighlight_.isValid() && index.siblingAtColumn(0) == dropHighlight_) {
        QColor colour = palette().color(QPalette::Highlight);
        colour.setAlpha(kDropHighlightAlpha);
        painter->fillRect(option.rect, colour);
    }
    QTreeWidget::drawRow(painter, option, index);
}

bool CTreeViewExtc::BeginDrag(QTreeWidgetItem* item, QPoint global) {
    delete dragImage_;
    dragIndex_ = QPersistentModelIndex(indexFromItem(item));
    const QPixmap picture = CreateDragImage(item);
    if (picture.isNull()) {
        return false;
    }
    dragImage_ = new DragImage(picture, window());
    dragImage_->MoveTo(global);
    dragImage_->show();
    dragging_ = true;
    // No grab of our own: the press's implicit grab already brings us the
    // moves and the release, and Wayland grants no other to a plain window.
    qApp->installEventFilter(this);
    return true;
}

void CTreeViewExtc::EndDrag() {
    qApp->removeEventFilter(this);
    if (dragImage_) {
        dragImage_->hide();
    }
    dragging_ = false;
    if (highlightTree_) {
        highlightTree_->SetDropHighlight(nullptr);
    }
    highlightTree_ = nullptr;
}

void CTreeViewExtc::Drop(CTreeViewExtc* target, QPoint global) {
    TransferRecord record;
    record.sourceItem = DragItem();
    record.targetItem = target->HitTest(global);
    const QPointer<CTreeViewExtc> guard(target);
    if (SendUserMessage(UM_DRAG_SOURCE, 0, ToLParam(&record)) != 0 && guard) {
        target->SendUserMessage(UM_DROP_TARGET, 0, ToLParam(&record));
    }
}

void CTreeViewExtc::HighlightDropTarget(QPoint global) {
    CTreeViewExtc* tree = TreeAt(global);
    if (highlightTree_ && highlightTree_ != tree) {
        highlightTree_->SetDropHighlight(nullptr);
    }
    highlightTree_ = tree;
    if (tree != nullptr) {
        tree->SetDropHighlight(tree->HitTest(global));
    }
}

void CTreeViewExtc::SetDropHighlight(QTreeWidgetItem* item) {
    const QPersistentModelIndex index(item != nullptr ? indexFromItem(item) : QModelIndex());
    if (index != dropHighlight_) {
        dropHighlight_ = index;
        viewport()->update();
    }
}

CTreeViewExtc* CTreeViewExtc::TreeAt(QPoint global) {
    for (QWidget* widget = WidgetUnder(global); widget != nullptr;
         widget = widget->parentWidget()) {
        if (auto* tree = qobject_cast<CTreeViewExtc*>(widget)) {
            return tree;
        }
        if (widget->isWindow()) {
            break;
        }
    }
    return nullptr;
}

QStringList CTreeViewExtc::DroppedFiles(const QDropEvent* event) const {
    QStringList files;
    if (!acceptsFileDrops_ || event->mimeData() == nullptr) {
        return files;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

void CTreeViewExtc::DeliverDroppedFiles(const QStringList& files,
                                        const QPersistentModelIndex& target) {
    const QPointer<CTreeViewExtc> guard(this);
    for (const QString& file : files) {
        // A handler may refill the tree or close the window between files.
        if (!guard || MessagesClosed()) {
            return;
        }
        TransferRecord record;
        record.source = file;
        record.targetItem = target.isValid() ? itemFromIndex(target) : nullptr;
        SendUserMessage(UM_DROP_TARGET, 0, ToLParam(&record));
    }
}

QWidget* CTreeViewExtc::WidgetUnder(QPoint global) {
    QWidget* widget = QApplication::widgetAt(global);
    if (widget == nullptr ||
        !widget->window()->windowFlags().testFlag(Qt::WindowTransparentForInput)) {
        return widget;
    }
    // The platform does not let input pass through the drag picture: look
    // for the program's own window beneath it.
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && !window->windowFlags().testFlag(Qt::WindowTransparentForInput) &&
            window->geometry().contains(global)) {
            QWidget* child = window->childAt(window->mapFromGlobal(global));
            return child != nullptr ? child : window;
        }
    }
    return nullptr;
}
