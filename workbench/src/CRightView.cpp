#include "workbench/CRightView.h"

#include "pcbrowse/FolderListing.h"
#include "pcbrowse/VolumeList.h"
#include "workbench/CMainFrame.h"
#include "workbench/HasAncestors.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTreeWidgetItemIterator>

#include <cstring>
#include <utility>

namespace {

const QString kMyComputer = QStringLiteral("My Computer");
constexpr int kKindRole = Qt::UserRole;
// The entry's name as the file system's bytes (a volume's or the desktop's
// path), so paths stay right whatever the label shows.
constexpr int kNameRole = Qt::UserRole + 1;
// How long a burst of changes in watched folders may last before they are
// listed again.
constexpr int kChangeDelayMs = 150;

// The paths of the expanded items below an item.
void CollectExpanded(const CRightView& view, const QTreeWidgetItem* item, QSet<QString>& paths) {
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem* child = item->child(i);
        if (child->isExpanded()) {
            paths.insert(view.ItemFullPath(child));
            CollectExpanded(view, child, paths);
        }
    }
}

QString Decode(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string Encode(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString LabelFor(const PathNode& node) {
    if (node.kind == PathNode::Kind::Desktop) {
        const QString name = QFileInfo(Decode(node.name)).fileName();
        return name.isEmpty() ? Decode(node.name) : name;
    }
    return Decode(node.name);
}

QFileIconProvider::IconType IconTypeFor(PathNode::Kind kind) {
    switch (kind) {
    case PathNode::Kind::Computer:
        return QFileIconProvider::Computer;
    case PathNode::Kind::Volume:
        return QFileIconProvider::Drive;
    case PathNode::Kind::Desktop:
        return QFileIconProvider::Desktop;
    case PathNode::Kind::Folder:
        return QFileIconProvider::Folder;
    default:
        return QFileIconProvider::File;
    }
}

} // namespace

PcPlaces PcPlaces::System() {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir()) {
        desktop = QDir::homePath();
    }
    return {desktop, &VolumeList::System};
}

CRightView::CRightView(QWidget* parent, PcPlaces places)
    : CTreeViewExtc(parent), places_(std::move(places)) {
    setRootIsDecorated(true);
    // Every row is one icon and one line: lets the view lay out a folder of
    // thousands of files without measuring each row.
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &CRightView::ListFolder);
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        UnwatchBelow(item);
        ClearChildren(item, true);
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CRightView::OnFolderChanged);
    changeDelay_.setSingleShot(true);
    changeDelay_.setInterval(kChangeDelayMs);
    connect(&changeDelay_, &QTimer::timeout, this, &CRightView::RelistChanged);
}

CRightView::~CRightView() = default;

void CRightView::OnInitialUpdate() {
    myComputer_ = new QTreeWidgetItem(this, QStringList{kMyComputer});
    myComputer_->setIcon(0, IconFor(Kind::Computer));
    myComputer_->setData(0, kKindRole, static_cast<int>(Kind::Computer));
    myComputer_->setData(0, kNameRole, kMyComputer.toUtf8());
    AddPlaceholder(myComputer_);
    // Expanding lists the volumes.
    expandItem(myComputer_);
    desktop_ = AddShellItem({Kind::Desktop, Encode(places_.desktopPath)}, nullptr, true);
}

QString CRightView::Filter() const {
    return QString::fromStdString(filter_.Pattern());
}

void CRightView::SetFilter(const QString& pattern) {
    filter_ = NameFilter(pattern.toStdString());
}

void CRightView::RelistCurrentItem() {
    QTreeWidgetItem* item = CurrentItem();
    // A file or a placeholder holds no listing of its own: the filter applies
    // to the folder it is in, which then becomes the current item.
    if (item != nullptr && (KindOf(item) == Kind::File || KindOf(item) == Kind::Placeholder)) {
        item = item->parent();
        SetCurrentItem(item);
    }
    if (item != nullptr) {
        ListFolder(item);
    }
}

QTreeWidgetItem* CRightView::CurrentItem() const {
    return current_.isValid() ? itemFromIndex(current_) : nullptr;
}

void CRightView::ListFolder(QTreeWidgetItem* item) {
    if (item == myComputer_) {
        ClearChildren(item, false);
        const std::vector<std::string> volumes =
            places_.volumes ? places_.volumes() : std::vector<std::string>();
        for (const std::string& volume : volumes) {
            AddShellItem({Kind::Volume, volume}, item, true);
        }
        if (item->childCount() == 0) {
            AddPlaceholder(item);
        }
        return;
    }
    const std::string folder = FolderBytes(item);
    UnwatchBelow(item);
    ClearChildren(item, false);
    Watch(item);
    const FolderListing listing = FolderListing::Read(folder, filter_);
    if (!listing.readable) {
        AddPlaceholder(item, QString::fromLocal8Bit(std::strerror(listing.error)));
        return;
    }
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(listing.folders.size() + listing.files.size()));
    for (const std::string& name : listing.folders) {
        children.append(MakeShellItem({Kind::Folder, name}, true));
    }
    for (const std::string& name : listing.files) {
        children.append(MakeShellItem({Kind::File, name}, false));
    }
    // One insertion for the whole folder: the view lays out once.
    item->addChildren(children);
    if (children.isEmpty()) {
        AddPlaceholder(item);
    }
}

void CRightView::ClearChildren(QTreeWidgetItem* item, bool withPlaceholder) {
    qDeleteAll(item->takeChildren());
    if (withPlaceholder) {
        AddPlaceholder(item);
    }
}

QTreeWidgetItem* CRightView::AddShellItem(const PathNode& node, QTreeWidgetItem* parent,
                                          bool withPlaceholder) {
    QTreeWidgetItem* item = MakeShellItem(node, withPlaceholder);
    if (parent != nullptr) {
        parent->addChild(item);
    } else {
        addTopLevelItem(item);
    }
    return item;
}

QString CRightView::ItemFolderPath(const QTreeWidgetItem* item) const {
    return Decode(FolderBytes(item));
}

QString CRightView::ItemFullPath(const QTreeWidgetItem* item) const {
    return Decode(PcItemPath::ItemFullPath(Chain(item)));
}

CRightView::Kind CRightView::KindOf(const QTreeWidgetItem* item) {
    return static_cast<Kind>(item->data(0, kKindRole).toInt());
}

LResult CRightView::OnUserMessage(UserMessage message, WParam, LParam lParam) {
    auto* record = FromLParam<TransferRecord>(lParam);
    if (record == nullptr) {
        return 0;
    }
    switch (message) {
    case UM_DROP_TARGET:
        return OnDropTarget(record);
    case UM_DRAG_SOURCE:
        return OnDragSource(record);
    case UM_COPY_FILE:
        OnCopyFile(record);
        return 0;
    default:
        return 0;
    }
}

void CRightView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // A right click only makes the item current (in the context menu
        // handler); it never moves the selection.
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        QTreeWidgetItem* hit = itemAt(event->position().toPoint());
        if (hit != myComputer_) {
            SetCurrentItem(hit);
        }
        SetPathLabel(hit != nullptr ? ItemFullPath(hit) : QString());
        if (hit != nullptr) {
            setCurrentItem(hit);
        } else {
            clearSelection();
        }
    }
    CTreeViewExtc::mousePressEvent(event);
}

void CRightView::contextMenuEvent(QContextMenuEvent* event) {
    QTreeWidgetItem* hit = itemAt(event->pos());
    SetCurrentItem(hit);
    event->accept();
    if (hit != nullptr && hit != myComputer_ && copyPending_ && ChoosePaste(event->globalPos())) {
        Paste();
    }
}

bool CRightView::ChoosePaste(QPoint global) {
    QMenu menu(this);
    const QAction* paste = menu.addAction(QStringLiteral("Paste File"));
    return menu.exec(global) == paste;
}

LResult CRightView::OnDropTarget(TransferRecord* record) {
    QTreeWidgetItem* target = record->targetItem;
    // The PC tree has no operations on PC files: a drag within it moves
    // nothing, and "My Computer" is no folder.
    const bool fromHere = record->sourceItem != nullptr && record->sourceItem->treeWidget() == this;
    if (target == nullptr || target == myComputer_ || fromHere) {
        return 0;
    }
    record->destination = ItemFolderPath(target);
    if (!record->destination.isEmpty()) {
        SendDownload(*record);
    }
    return 0;
}

LResult CRightView::OnDragSource(TransferRecord* record) {
    const QTreeWidgetItem* item = record->sourceItem;
    // What lies at least two levels below a root goes to the instrument, and
    // a file directly on the desktop; not "My Computer", a volume, the
    // desktop or a folder directly on it.
    if (item == nullptr || item->treeWidget() != this || KindOf(item) == Kind::Placeholder) {
        return 0;
    }
    const bool fileOnTheDesktop = KindOf(item) == Kind::File && item->parent() == desktop_;
    if (!HasAncestors(item, 2) && !fileOnTheDesktop) {
        return 0;
    }
    record->source = ItemFullPath(item);
    return 1;
}

void CRightView::OnCopyFile(const TransferRecord* record) {
    copy_ = *record;
    copyPending_ = true;
}

void CRightView::Paste() {
    // One copy, one paste: the slot is spent before the download runs.
    copyPending_ = false;
    QTreeWidgetItem* target = CurrentItem();
    copy_.targetItem = target;
    copy_.destination = target != nullptr ? ItemFolderPath(target) : QString();
    // The download may run dialogs in which a new copy arrives: it gets a
    // record of its own, not the slot.
    TransferRecord request = copy_;
    if (!request.destination.isEmpty()) {
        SendDownload(request);
    }
}

void CRightView::SendDownload(TransferRecord& record) {
    CMainFrame* frame = CMainFrame::Of(this);
    CTreeViewExtc* instrument = frame != nullptr ? frame->InstrumentTree() : nullptr;
    if (instrument != nullptr) {
        instrument->SendUserMessage(UM_DOWNLOAD, 0, ToLParam(&record));
    }
}

void CRightView::SetCurrentItem(QTreeWidgetItem* item) {
    current_ = QPersistentModelIndex(item != nullptr ? indexFromItem(item) : QModelIndex());
}

QTreeWidgetItem* CRightView::MakeShellItem(const PathNode& node, bool withPlaceholder) {
    auto* item = new QTreeWidgetItem(QStringList{LabelFor(node)});
    item->setIcon(0, IconFor(node.kind));
    item->setData(0, kKindRole, static_cast<int>(node.kind));
    item->setData(0, kNameRole, QByteArray::fromStdString(node.name));
    if (withPlaceholder) {
        AddPlaceholder(item);
    }
    return item;
}

void CRightView::AddPlaceholder(QTreeWidgetItem* parent, const QString& why) {
    auto* placeholder = new QTreeWidgetItem(parent);
    placeholder->setData(0, kKindRole, static_cast<int>(Kind::Placeholder));
    if (!why.isEmpty()) {
        placeholder->setToolTip(0, why);
    }
}

std::vector<PathNode> CRightView::Chain(const QTreeWidgetItem* item) const {
    std::vector<PathNode> chain;
    for (; item != nullptr; item = item->parent()) {
        chain.push_back({KindOf(item), item->data(0, kNameRole).toByteArray().toStdString()});
    }
    return chain;
}

std::string CRightView::FolderBytes(const QTreeWidgetItem* item) const {
    return PcItemPath::ItemFolderPath(Chain(item));
}

const QIcon& CRightView::IconFor(Kind kind) {
    const auto slot = static_cast<std::size_t>(kind);
    if (slot >= icons_.size()) {
        static const QIcon kNone;
        return kNone;
    }
    if (!iconMade_[slot]) {
        icons_[slot] = iconProvider_.icon(IconTypeFor(kind));
        iconMade_[slot] = true;
    }
    return icons_[slot];
}

// --- Watching the expanded folders ----------------------------------------------

void CRightView::Watch(QTreeWidgetItem* item) {
    const QString folder = ItemFolderPath(item);
    if (!folder.isEmpty()) {
        watcher_.addPath(folder);
    }
}

// The folder of the item and every folder below it: their items are going.
void CRightView::UnwatchBelow(QTreeWidgetItem* item) {
    const QString folder = ItemFolderPath(item);
    if (folder.isEmpty()) {
        return;
    }
    QStringList gone;
    for (const QString& watched : watcher_.directories()) {
        if (watched == folder || watched.startsWith(folder)) {
            gone << watched;
        }
    }
    if (!gone.isEmpty()) {
        watcher_.removePaths(gone);
    }
}

void CRightView::OnFolderChanged(const QString& path) {
    changedFolders_.insert(path);
    changeDelay_.start();
}

void CRightView::RelistChanged() {
    const QSet<QString> changed = std::exchange(changedFolders_, {});
    QList<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const Kind kind = KindOf(*it);
        if ((*it)->isExpanded() && kind != Kind::Computer && kind != Kind::File &&
            changed.contains(ItemFolderPath(*it))) {
            items << *it;
        }
    }
    // Outer folders first would delete inner ones still in the list.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        Relist(*it);
    }
}

void CRightView::Refresh() {
    QList<QTreeWidgetItem*> roots;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isExpanded()) {
            roots << topLevelItem(i);
        }
    }
    for (QTreeWidgetItem* root : roots) {
        Relist(root);
    }
}

void CRightView::Relist(QTreeWidgetItem* item) {
    QSet<QString> expanded;
    CollectExpanded(*this, item, expanded);
    const QTreeWidgetItem* current = CurrentItem();
    const QString currentPath = current != nullptr ? ItemFullPath(current) : QString();
    ListFolder(item);
    ExpandAgain(item, expanded);
    if (!currentPath.isEmpty() && CurrentItem() == nullptr) {
        SetCurrentItem(ItemAtPath(currentPath));
    }
}

void CRightView::ExpandAgain(QTreeWidgetItem* item, const QSet<QString>& expanded) {
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (expanded.contains(ItemFullPath(child))) {
            expandItem(child); // lists it
            ExpandAgain(child, expanded);
        }
    }
}

QTreeWidgetItem* CRightView::ItemAtPath(const QString& fullPath) const {
    for (QTreeWidgetItemIterator it(const_cast<CRightView*>(this)); *it != nullptr; ++it) {
        if (KindOf(*it) != Kind::Placeholder && ItemFullPath(*it) == fullPath) {
            return *it;
        }
    }
    return nullptr;
}
