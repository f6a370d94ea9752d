#pragma once

#include "protocol/PortList.h"

#include <QString>

class CLeftView;
class QTreeWidgetItem;

// The port nodes under the instrument tree's root, following the system's
// ports while the program runs.
class PortNodes {
public:
    explicit PortNodes(CLeftView& view) : view_(view) {}

    void AddPortNode(const PortList::Port& port);
    void RefreshPorts();
    // Opens the view's link on the port of the record; false with the
    // port's error.
    bool Open(const PortList::Port& record);
    // Expands the port node of that name; false when there is none.
    bool ExpandPort(const QString& name);

private:
    static void ShowDevice(QTreeWidgetItem* node, const PortList::Port& port);

    CLeftView& view_;
};
