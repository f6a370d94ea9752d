#include "workbench/LeftViewDownloads.h"

#include "workbench/CInputPath.h"
#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/InstrumentNode.h"
#include "workbench/TransferRecord.h"
#include "workbench/WideText.h"

#include "catalogue/DownloadPlan.h"
#include "transfer/DownloadFileSink.h"

#include <QTreeWidgetItemIterator>

bool LeftViewDownloads::HoldsItem(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return false;
    }
    // The pointer may come from a copy made before its category was refilled:
    // compare it with the live nodes rather than follow it.
    for (QTreeWidgetItemIterator it(&view_); *it != nullptr; ++it) {
        if (*it == item) {
            return true;
        }
    }
    return false;
}

bool LeftViewDownloads::FillRecord(TransferRecord& record, const QTreeWidgetItem* node) const {
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(node);
    if (entry == nullptr || node->treeWidget() != &view_) {
        return false;
    }
    const EntryKind kind = *InstrumentNode::CategoryOf(entry);
    record.category = FromWide(CategoryText(kind));
    record.source = entry->text(0);
    // A job's detail node names its part; from the entry the dialog asks.
    record.jobPart = InstrumentNode::PartOf(node).value_or(TransferRecord::kNoJobPart);
    return true;
}

LResult LeftViewDownloads::OnDragSource(TransferRecord* record) const {
    return record != nullptr && HoldsItem(record->sourceItem) &&
                   FillRecord(*record, record->sourceItem)
               ? 1
               : 0;
}

void LeftViewDownloads::OnDownload(const TransferRecord& record) {
    if (!view_.IsConnected()) {
        // Nothing would be sent and no end would ever close the progress dialog.
        view_.ShowMessage(FromWide(std::u16string(DownloadPlan::kNotConnected)));
        return;
    }
    if (view_.RefusedWhileTransferRuns()) {
        return;
    }
    const std::u16string category = ToWide(record.category);
    const DeviceModel model = view_.Model();
    const std::u16string line = model.LineOf(category, ToWide(record.source));
    const auto plan = DownloadPlan::Prepare(category, line, model.FormatList());
    if (!plan) {
        return;
    }
    CKSDeviceToPcDlg dialog(&view_);
    dialog.dialogMode = plan->mode;
    dialog.jobPart = record.jobPart;
    dialog.fromText =
        HoldsItem(record.sourceItem) ? InstrumentNode::Path(record.sourceItem) : QString();
    dialog.toText = record.destination;
    dialog.fileName = FromWide(plan->fileName);
    for (const std::u16string& choice : plan->dataTypeChoices) {
        dialog.dataTypeChoices << FromWide(choice);
    }
    dialog.dataTypeNote = FromWide(std::u16string(DownloadPlan::kOtherTypeNote));
    DownloadPlan::Decision decision;
    do {
        if (view_.ExecDialog(dialog) != 1) {
            return;
        }
        decision = DownloadPlan::Decide(plan->mode, line, ToWide(record.destination),
                                        {ToWide(dialog.fileName), ToWide(dialog.chosenDataType),
                                         ToWide(dialog.chosenFileType)});
        if (!decision.request) {
            view_.ShowMessage(FromWide(decision.refusal));
        }
    } while (decision.askAgain);
    if (decision.request) {
        StartDownloadRequest(*decision.request, record.source, FromWide(line), record.destination,
                             decision.total);
    }
}

void LeftViewDownloads::StartDownloadRequest(const TransferRequest& request, const QString& item,
                                             const QString& source, const QString& destination,
                                             int total) {
    // The session settles an existing file first (asking the user); the
    // dialog names the folder, which is the same whichever name is kept.
    if (view_.Began(TransferMonitor::Operation::Download,
                    view_.session_->BeginDownload(request, item.toStdString(), *view_.fileSink_,
                                                  view_.silenceLimit_))) {
        view_.RunProgressDialog(QStringLiteral("Receiving..."), FromWide(request.partCode), source,
                                destination, total);
    }
}

void LeftViewDownloads::OnMoveFile() {
    if (InstrumentNode::EntryOf(view_.LastClickedItem()) == nullptr) {
        view_.ShowMessage(FromWide(std::u16string(DownloadPlan::kSelectFile)));
        return;
    }
    CInputPath dialog(&view_);
    if (view_.ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    // The node may have gone while the dialog was open.
    TransferRecord record;
    record.sourceItem = view_.LastClickedItem();
    if (!FillRecord(record, record.sourceItem)) {
        return;
    }
    record.destination = FromWide(DownloadPlan::FolderOf(ToWide(dialog.Path())));
    view_.SendUserMessage(UM_DOWNLOAD, 0, ToLParam(&record));
}

void LeftViewDownloads::CopyFile(QTreeWidgetItem* node) {
    TransferRecord record;
    record.sourceItem = node;
    if (!FillRecord(record, node)) {
        return;
    }
    const CMainFrame* frame = CMainFrame::Of(&view_);
    if (CTreeViewExtc* pc = frame != nullptr ? frame->PcTree() : nullptr) {
        pc->SendUserMessage(UM_COPY_FILE, 0, ToLParam(&record));
    }
}
