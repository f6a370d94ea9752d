#pragma once

#include "catalogue/DeviceTree.h"

#include <map>
#include <string>
#include <vector>

// The instrument tree kept in memory, for stationlink-cli and for tests: the
// connected port's text and the entries of each category in arrival order.
class DeviceListing : public DeviceTree {
public:
    // Starts a connection of the port with that text: five empty categories.
    void Connect(std::u16string portText);
    // Ends it: no connected port; the entries stay readable.
    void Disconnect() { connected_ = false; }

    std::u16string ConnectedPortText() const override;
    void SetConnectedPortText(const std::u16string& text) override { portText_ = text; }
    void AppendEntry(EntryKind kind, const DeviceEntry& entry) override;
    void ClearCategory(EntryKind kind) override { entries_[kind].clear(); }
    void InitDone() override { ++initDone_; }
    void StepProgress() override { ++progressSteps_; }

    const std::u16string& PortText() const { return portText_; }
    const std::vector<DeviceEntry>& Entries(EntryKind kind) const;
    int InitDoneCount() const { return initDone_; }
    int ProgressSteps() const { return progressSteps_; }

    // UTF-8, one line each: "DEVICE<TAB><port text>", then per entry in tree
    // order "<category><TAB><label>" and a tab and the text of each detail.
    std::string Print() const;

    static std::string Utf8(std::u16string_view text);

private:
    std::u16string portText_;
    bool connected_ = false;
    std::map<EntryKind, std::vector<DeviceEntry>> entries_;
    int initDone_ = 0;
    int progressSteps_ = 0;
};
