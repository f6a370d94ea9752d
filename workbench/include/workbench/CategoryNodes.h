#pragma once

#include "catalogue/DeviceTree.h"

class CLeftView;

// The connected port's category folders as the reply dispatcher fills
// them, on the window thread: entries and their detail nodes, each marked
// with what it stands for, the port node renamed after the instrument, and
// the engine's notifications passed on to the tree.
class CategoryNodes : public DeviceTree {
public:
    explicit CategoryNodes(CLeftView& view) : view_(view) {}

    std::u16string ConnectedPortText() const override;
    void SetConnectedPortText(const std::u16string& text) override;
    void AppendEntry(EntryKind kind, const DeviceEntry& entry) override;
    void ClearCategory(EntryKind kind) override;
    void InitDone() override;
    void StepProgress() override;

private:
    // Lines arrive faster than the tree can be painted: while they do, it is
    // painted at most every CLeftView::kRepaintIntervalMs.
    void HoldRepaints();

    CLeftView& view_;
};
