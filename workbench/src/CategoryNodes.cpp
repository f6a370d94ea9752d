#include "workbench/CategoryNodes.h"

#include "workbench/CLeftView.h"
#include "workbench/InstrumentNode.h"
#include "workbench/WideText.h"

#include "catalogue/DownloadPlan.h"

void CategoryNodes::SetConnectedPortText(const std::u16string& text) {
    if (view_.connectedPort_ != nullptr) {
        view_.connectedPort_->setText(0, FromWide(text));
    }
}

void CategoryNodes::HoldRepaints() {
    if (!view_.repaintTimer_.isActive()) {
        view_.setUpdatesEnabled(false);
        view_.repaintTimer_.start();
    }
}

void CategoryNodes::AppendEntry(EntryKind kind, const DeviceEntry& entry) {
    QTreeWidgetItem* category = view_.CategoryItem(kind);
    if (category == nullptr) {
        return;
    }
    HoldRepaints();
    QTreeWidgetItem* node = view_.AddNode(category, FromWide(entry.label),
                                          kind == EntryKind::Format ? view_.entry_ : view_.folder_);
    InstrumentNode::MarkListed(node, InstrumentNode::Role::Entry, kind);
    for (const std::u16string& detail : entry.details) {
        QTreeWidgetItem* detailNode = view_.AddNode(node, FromWide(detail), view_.entry_);
        InstrumentNode::MarkListed(detailNode, InstrumentNode::Role::Detail, kind);
        if (kind == EntryKind::Job) {
            InstrumentNode::MarkPart(detailNode, DownloadPlan::JobPartOf(detail));
        }
    }
    if (!category->isExpanded()) {
        category->setExpanded(true);
    }
}

void CategoryNodes::ClearCategory(EntryKind kind) {
    if (QTreeWidgetItem* category = view_.CategoryItem(kind)) {
        HoldRepaints();
        view_.RemoveChildren(category, false);
    }
}
