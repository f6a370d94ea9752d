#pragma once

#include "pcbrowse/NameFilter.h"
#include "pcbrowse/PcItemPath.h"
#include "workbench/CTreeViewExtc.h"
#include "workbench/PcFilterTarget.h"
#include "workbench/TransferRecord.h"

#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QSet>
#include <QTimer>

#include <array>
#include <functional>
#include <string>
#include <vector>

// Where the PC tree finds its two roots. Tests point them at a temporary tree.
struct PcPlaces {
    // The desktop root's folder.
    QString desktopPath;
    // The mount points "My Computer" lists, read each time it is listed.
    std::function<std::vector<std::string>()> volumes;

    // The XDG desktop folder (the home folder when there is none) and the
    // mounted volumes a user can browse.
    static PcPlaces System();
};

// The PC tree, the lower-right pane: "My Computer" with the mounted volumes,
// then the desktop folder. Folders are listed when they are expanded and
// forgotten when they collapse; files are shown through the filter of the
// frame's filter box. Expanded folders are watched, so files written,
// removed or renamed show at once. The tree has no operations on PC files of
// its own: it is the PC end of transfers. A drag from it fills in the PC file's path, a
// drop on it or a "Paste File" names the destination folder, and the
// download itself is handed to the instrument tree as UM_DOWNLOAD.
class CRightView : public CTreeViewExtc, public PcFilterTarget {
    Q_OBJECT

public:
    using Kind = PathNode::Kind;

    explicit CRightView(QWidget* parent = nullptr, PcPlaces places = PcPlaces::System());
    ~CRightView() override;

    // Builds "My Computer" (expanded) and the desktop root.
    void OnInitialUpdate() override;

    QString Filter() const override;
    void SetFilter(const QString& pattern) override;
    // Lists the current item again; for a file, its folder.
    void RelistCurrentItem() override;
    // Lists every expanded folder again, keeping what is expanded and the
    // current item ("Refresh", F5).
    void Refresh() override;

    QTreeWidgetItem* MyComputerItem() const { return myComputer_; }
    QTreeWidgetItem* DesktopItem() const { return desktop_; }
    const QString& DesktopPath() const { return places_.desktopPath; }
    // The item last clicked; null when none or when it has gone with a collapse.
    QTreeWidgetItem* CurrentItem() const;
    // True while a copy from the instrument tree waits for its one paste.
    bool HasCopy() const { return copyPending_; }

    // (Re)fills an item's children from the file system. A folder that
    // cannot be read keeps a placeholder, whose tool tip says why.
    void ListFolder(QTreeWidgetItem* item);
    // Removes every child of an item; withPlaceholder adds one blank child
    // afterwards, so the item still shows an expand button.
    void ClearChildren(QTreeWidgetItem* item, bool withPlaceholder);
    // Inserts the item for a volume, the desktop, a folder or a file (name:
    // the entry's name; the path for a volume or the desktop) as the last
    // child of parent, or as the last root when parent is null.
    QTreeWidgetItem* AddShellItem(const PathNode& node, QTreeWidgetItem* parent,
                                  bool withPlaceholder);
    // The folder an item stands for, with a final "/" (a file: its folder);
    // empty for "My Computer".
    QString ItemFolderPath(const QTreeWidgetItem* item) const;
    // The item's own path without a final "/"; "My Computer" gives its label.
    QString ItemFullPath(const QTreeWidgetItem* item) const;

    static Kind KindOf(const QTreeWidgetItem* item);

protected:
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Shows the "Paste File" menu at a point; true when it was chosen.
    virtual bool ChoosePaste(QPoint global);

private:
    LResult OnDropTarget(TransferRecord* record);
    LResult OnDragSource(TransferRecord* record);
    void OnCopyFile(const TransferRecord* record);
    void Paste();
    void SendDownload(TransferRecord& record);
    void SetCurrentItem(QTreeWidgetItem* item);
    QTreeWidgetItem* MakeShellItem(const PathNode& node, bool withPlaceholder);
    void AddPlaceholder(QTreeWidgetItem* parent, const QString& why = {});
    std::vector<PathNode> Chain(const QTreeWidgetItem* item) const;
    std::string FolderBytes(const QTreeWidgetItem* item) const;
    const QIcon& IconFor(Kind kind);
    // The folder of an expanded item, watched for changes while it is.
    void Watch(QTreeWidgetItem* item);
    void UnwatchBelow(QTreeWidgetItem* item);
    void OnFolderChanged(const QString& path);
    void RelistChanged();
    // Lists an item again and expands again what was expanded below it.
    void Relist(QTreeWidgetItem* item);
    void ExpandAgain(QTreeWidgetItem* item, const QSet<QString>& expanded);
    QTreeWidgetItem* ItemAtPath(const QString& fullPath) const;

    PcPlaces places_;
    NameFilter filter_;
    QPersistentModelIndex current_;
    QTreeWidgetItem* myComputer_ = nullptr;
    QTreeWidgetItem* desktop_ = nullptr;
    TransferRecord copy_;
    bool copyPending_ = false;
    // One icon per kind of item, made on first use: a folder of thousands of
    // files shares one image.
    QFileIconProvider iconProvider_;
    std::array<QIcon, 5> icons_;
    std::array<bool, 5> iconMade_{};
    QFileSystemWatcher watcher_;
    // Changes come in bursts (a download's partial file, then its rename):
    // the folders they touched are listed again once the burst is over.
    QSet<QString> changedFolders_;
    QTimer changeDelay_;
};
