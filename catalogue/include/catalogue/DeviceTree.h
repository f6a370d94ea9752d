#pragma once

#include "catalogue/DeviceEntry.h"
#include "catalogue/EntryKind.h"

#include <string>

// The instrument tree as the reply dispatcher changes it. The transfer
// session's in-memory listing implements it, and so does what follows that
// listing into the window's tree.
class DeviceTree {
public:
    virtual ~DeviceTree() = default;

    // The text of the connected port node; empty while no port is connected.
    virtual std::u16string ConnectedPortText() const = 0;
    virtual void SetConnectedPortText(const std::u16string& text) = 0;
    // Appends an entry node with its detail nodes under the category of
    // kind and expands the category.
    virtual void AppendEntry(EntryKind kind, const DeviceEntry& entry) = 0;
    // Removes every node under the category of kind.
    virtual void ClearCategory(EntryKind kind) = 0;
    // The connect script has read every list.
    virtual void InitDone() = 0;
    // One progress step: a data line, a line sent, a list line an erase read
    // again. The transfer monitor, not this, ends a transfer.
    virtual void StepProgress() = 0;

protected:
    DeviceTree() = default;
    DeviceTree(const DeviceTree&) = default;
    DeviceTree& operator=(const DeviceTree&) = default;
};
