#include "workbench/LeftViewUploads.h"

#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/InstrumentNode.h"
#include "workbench/TransferRecord.h"
#include "workbench/WideText.h"

#include "catalogue/UploadPlan.h"
#include "platform/CodePage.h"
#include "transfer/UploadFileReader.h"

#include <filesystem>

void LeftViewUploads::OnDropTarget(TransferRecord* record) {
    // Desktop drops of several files come one message each; while one
    // upload runs the others are refused rather than queued behind it.
    if (record == nullptr || record->targetItem == nullptr || view_.uploading_ ||
        view_.progressShown_) {
        return;
    }
    // An entry names itself, a detail node its entry.
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(record->targetItem);
    if (entry == nullptr) {
        return;
    }
    record->category = FromWide(CategoryText(*InstrumentNode::CategoryOf(entry)));
    record->destination = entry->text(0);
    view_.uploading_ = true;
    const bool ran = Upload(*record);
    view_.uploading_ = false;
    if (!ran) {
        view_.ShowMessage(FromWide(std::u16string(UploadPlan::kTranslatedFail)));
    }
}

// False when the PC file could not be sent at all.
bool LeftViewUploads::Upload(const TransferRecord& record) {
    // A connect still reading the lists (or any other operation) would be
    // cut off by the upload's script; its model is not yet the instrument's.
    if (view_.RefusedWhileTransferRuns()) {
        return true;
    }
    const auto plan =
        UploadPlan::Prepare(view_.Model(), {ToWide(record.category), ToWide(record.destination)},
                            ToWide(record.source));
    if (!plan) {
        return true;
    }
    // A node of this tree dragged onto itself names no PC file. Asked before
    // the dialog: the dragged item may be gone once it has closed.
    const bool fromHere = record.sourceItem != nullptr && record.sourceItem->treeWidget() == &view_;
    CKSDeviceToPcDlg dialog(&view_);
    dialog.dialogMode = plan->mode;
    dialog.fromText = record.source;
    dialog.toText = FromWide(plan->targetText);
    dialog.nameEditable = plan->nameUsed;
    dialog.fileName = FromWide(plan->fileName);
    for (const std::u16string& type : plan->dataTypes) {
        dialog.dataTypeChoices << FromWide(type);
    }
    if (view_.ExecDialog(dialog) != 1) {
        return true;
    }
    const UploadFile file =
        fromHere ? UploadFile{} : UploadFileReader(CodePage::Wire()).Read(ToWide(record.source));
    const auto decision =
        UploadPlan::Decide(*plan, ToWide(record.source), file, ToWide(dialog.fileName),
                           ToWide(dialog.chosenDataType), view_.IsConnected());
    if (!decision.request) {
        for (const std::u16string& message : decision.messages) {
            view_.ShowMessage(FromWide(message));
        }
        return !decision.failed;
    }
    // Data the entry holds is replaced only when the user says so; the
    // session asks.
    if (!view_.Began(TransferMonitor::Operation::Upload,
                     view_.session_->BeginUpload(*decision.request, record.source.toStdString(),
                                                 view_.silenceLimit_, plan->storedLine))) {
        return true;
    }
    if (decision.request->lines.empty()) {
        view_.ShowMessage(FromWide(std::u16string(UploadPlan::kEmptyFile)));
        return true;
    }
    // What goes where: the data's kind, the PC file, the instrument entry.
    const int total = static_cast<int>(decision.request->lines.size());
    view_.RunProgressDialog(
        QStringLiteral("Sending..."),
        FromWide(UploadPlan::FileTypeOf(plan->mode, ToWide(dialog.chosenDataType))), record.source,
        FromWide(plan->targetText), total);
    return true;
}
