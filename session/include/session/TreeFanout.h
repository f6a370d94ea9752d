#pragma once

#include "catalogue/DeviceTree.h"

// The session's listing, and what a window shows of it: every change goes
// to the listing first and then to the follower, if one is set. The listing
// alone answers what the connected port is called, so a follower that hands
// its calls to another thread never has to answer on the link's worker.
class TreeFanout : public DeviceTree {
public:
    explicit TreeFanout(DeviceTree& listing) : listing_(listing) {}

    void SetFollower(DeviceTree* follower) { follower_ = follower; }
    DeviceTree* Follower() const { return follower_; }

    std::u16string ConnectedPortText() const override { return listing_.ConnectedPortText(); }
    void SetConnectedPortText(const std::u16string& text) override;
    void AppendEntry(EntryKind kind, const DeviceEntry& entry) override;
    void ClearCategory(EntryKind kind) override;
    void InitDone() override;
    void StepProgress() override;

private:
    DeviceTree& listing_;
    DeviceTree* follower_ = nullptr;
};
