#include "workbench/PortNodes.h"

#include "workbench/CLeftView.h"
#include "workbench/InstrumentNode.h"
#include "workbench/WideText.h"

void PortNodes::AddPortNode(const PortList::Port& port) {
    const QString name = FromWide(port.settings.portName);
    QTreeWidgetItem* node = view_.AddNode(view_.RootItem(), name, view_.portClosed_);
    InstrumentNode::MarkPort(node, name);
    ShowDevice(node, port);
    view_.AddNode(node, QString(), view_.placeholderIcon_);
}

// The device behind the COM name, where the user points at it.
void PortNodes::ShowDevice(QTreeWidgetItem* node, const PortList::Port& port) {
    const QString device = QString::fromStdString(port.deviceFile + " - " + port.description);
    node->setToolTip(0, device);
    node->setStatusTip(0, device);
}

// Ports that came or went since the list was read show without a restart;
// the node of the open (or opening) connection stays until it is collapsed.
void PortNodes::RefreshPorts() {
    QTreeWidgetItem* root = view_.RootItem();
    if (root == nullptr || !view_.ports_.Rescan()) {
        return;
    }
    const auto nameOf = [](const QTreeWidgetItem* node) { return InstrumentNode::PortName(node); };
    for (int i = root->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* node = root->child(i);
        if (node != view_.openedPort_ && view_.ports_.Find(ToWide(nameOf(node))) == nullptr) {
            delete node;
        }
    }
    for (const PortList::Port& port : view_.ports_.Ports()) {
        const QString name = FromWide(port.settings.portName);
        QTreeWidgetItem* node = nullptr;
        for (int i = 0; i < root->childCount() && node == nullptr; ++i) {
            node = nameOf(root->child(i)) == name ? root->child(i) : nullptr;
        }
        if (node != nullptr) {
            ShowDevice(node, port);
        } else {
            AddPortNode(port);
        }
    }
}

bool PortNodes::ExpandPort(const QString& name) {
    for (int i = 0; view_.RootItem() != nullptr && i < view_.RootItem()->childCount(); ++i) {
        if (InstrumentNode::PortName(view_.RootItem()->child(i)) == name) {
            view_.RootItem()->child(i)->setExpanded(true);
            return true;
        }
    }
    return false;
}

// The device the node shows, not a fresh look-up of its name: adapters
// plugged in since would shift the numbering.
bool PortNodes::Open(const PortList::Port& record) {
    return view_.session_->Open(record.settings, record.deviceFile);
}
