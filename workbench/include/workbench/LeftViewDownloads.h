#pragma once

#include "workbench/MessageTarget.h"

#include <QString>

class CLeftView;
class QTreeWidgetItem;
struct TransferRecord;
struct TransferRequest;

// The instrument tree's downloads: an entry dragged to the PC tree, "Move
// File" to a typed folder, "Copy File" into the PC tree's folder, and the
// download itself with its dialog, the existing-file question and the
// progress dialog.
class LeftViewDownloads {
public:
    explicit LeftViewDownloads(CLeftView& view) : view_(view) {}

    LResult OnDragSource(TransferRecord* record) const;
    void OnDownload(const TransferRecord& record);
    void OnMoveFile();
    void CopyFile(QTreeWidgetItem* node);

private:
    void StartDownloadRequest(const TransferRequest& request, const QString& item,
                              const QString& source, const QString& destination, int total);
    bool FillRecord(TransferRecord& record, const QTreeWidgetItem* node) const;
    // Whether item is still a node of the tree (without touching it).
    bool HoldsItem(const QTreeWidgetItem* item) const;

    CLeftView& view_;
};
