#pragma once

#include "catalogue/DeviceTree.h"
#include "session/SessionHost.h"

#include <functional>

class CLeftView;

// What the instrument tree's session reports, carried to the window thread:
// the session calls from its link's worker, its receive thread or the
// window's poll, always with its lock held, so every call is queued to the
// view and none waits for the window. The tree's changes go to the category
// nodes, the host's news to the view, both in the order they were made.
class SessionRelay : public SessionHost, public DeviceTree {
public:
    explicit SessionRelay(CLeftView& view) : view_(view) {}

    void OnOperationEnded(const TransferMonitor::Outcome& outcome) override;
    void OnProgress(std::size_t lines, std::size_t total, std::uint64_t bytes) override;
    void OnLinkState(LinkState state) override;
    void OnLinkMessage(const std::string& text) override;

    // The session's listing answers this; the nodes are only written.
    std::u16string ConnectedPortText() const override { return {}; }
    void SetConnectedPortText(const std::u16string& text) override;
    void AppendEntry(EntryKind kind, const DeviceEntry& entry) override;
    void ClearCategory(EntryKind kind) override;
    void InitDone() override;
    void StepProgress() override;

private:
    // Runs call on the window thread; dropped if the view has gone meanwhile.
    void Post(std::function<void()> call);

    CLeftView& view_;
};
