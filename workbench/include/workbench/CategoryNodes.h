#pragma once

#include "catalogue/DeviceTree.h"

class CLeftView;

// The connected port's category folders as the reply dispatcher fills
// them, on the window thread: entries and their detail nodes, each marked
// with what it stands for and the port node renamed after the instrument.
class CategoryNodes {
public:
    explicit CategoryNodes(CLeftView& view) : view_(view) {}

    void SetConnectedPortText(const std::u16string& text);
    void AppendEntry(EntryKind kind, const DeviceEntry& entry);
    void ClearCategory(EntryKind kind);

private:
    // Lines arrive faster than the tree can be painted: while they do, it is
    // painted at most every CLeftView::kRepaintIntervalMs.
    void HoldRepaints();

    CLeftView& view_;
};
