#include "workbench/LeftViewEraser.h"

#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/InstrumentNode.h"
#include "workbench/WideText.h"

#include "catalogue/DownloadPlan.h"
#include "catalogue/EraseFlow.h"
#include "catalogue/ListLine.h"
#include "catalogue/RequestKind.h"

void LeftViewEraser::OnDeleteFile(QTreeWidgetItem* node) {
    QTreeWidgetItem* entry = InstrumentNode::EntryOf(node);
    if (entry == nullptr) {
        view_.ShowMessage(FromWide(std::u16string(EraseFlow::kDelError)));
        return;
    }
    if (!view_.IsConnected()) {
        view_.ShowMessage(FromWide(std::u16string(DownloadPlan::kNotConnected)));
        return;
    }
    if (view_.RefusedWhileTransferRuns()) {
        return;
    }
    QTreeWidgetItem* category = entry->parent();
    const auto kind = InstrumentNode::CategoryOf(entry);
    const auto mode = RequestKindOf(*kind, RequestAction::Erase);
    if (!mode) {
        return; // formats are not erased
    }
    const std::u16string line = ToWide(view_.StoredLine(entry));
    CKSDeviceToPcDlg dialog(&view_);
    dialog.dialogMode = *mode;
    dialog.fileName = FromWide(ListLine::Split(line, ListLine::kStoredFields).front());
    // The part the user clicked is the one preselected; from the entry none.
    if (const auto part = InstrumentNode::PartOf(node)) {
        dialog.jobPart = *part;
    }
    for (const auto* part : {u"COORDS", u"OBSERV"}) {
        const auto note = EraseFlow::DialogNote(*mode, line, part);
        dialog.erasedTexts << FromWide(note.text);
        dialog.erasable << note.erasable;
    }
    if (view_.ExecDialog(dialog) != 1) {
        return;
    }
    const auto decision = EraseFlow::Decide(*mode, line, ToWide(dialog.chosenFileType));
    if (!decision.request) {
        view_.ShowMessage(FromWide(decision.refusal));
        return;
    }
    const QString label = entry->text(0); // the node goes with its category's children
    const int listed = category->childCount();
    // The erase lists the category again; it is emptied at once, before the
    // session's own clearing reaches the window.
    if (view_.Began(TransferMonitor::Operation::Erase,
                    view_.session_->BeginErase(*decision.request,
                                               FromWide(decision.subject).toStdString(),
                                               view_.silenceLimit_))) {
        view_.RemoveChildren(category, false);
        // Its steps are the list's lines read again; it may be cancelled.
        view_.RunProgressDialog(QStringLiteral("Erasing..."), dialog.chosenFileType, label,
                                view_.savedPortName_, listed);
    }
}
