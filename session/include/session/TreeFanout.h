#pragma once

#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceTree.h"

// The session's listing, and what a window shows of it: every change goes
// to the listing first and then to the follower, if one is set. The listing
// alone answers what the connected port is called, so a follower that hands
// its calls to another thread never has to answer on the link's worker.
class TreeFanout : public DeviceTree {
public:
    explicit TreeFanout(DeviceListing& listing) : listing_(listing) {}

    void SetFollower(DeviceTree* follower) { follower_ = follower; }

    // The lists as a connect finds them: every category empty, the port
    // under its own name, in the listing and the follower alike.
    void Connect(const std::u16string& portText);

    std::u16string ConnectedPortText() const override { return listing_.ConnectedPortText(); }
    void SetConnectedPortText(const std::u16string& text) override;
    void AppendEntry(EntryKind kind, const DeviceEntry& entry) override;
    void ClearCategory(EntryKind kind) override;
    void InitDone() override;
    void StepProgress() override;

private:
    DeviceListing& listing_;
    DeviceTree* follower_ = nullptr;
};
