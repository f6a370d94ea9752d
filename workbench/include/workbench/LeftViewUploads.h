#pragma once

class CLeftView;
struct TransferRecord;

// The instrument tree's uploads: a PC file dropped on an entry or a detail
// node goes to that entry after its dialog and the questions it raises.
class LeftViewUploads {
public:
    explicit LeftViewUploads(CLeftView& view) : view_(view) {}

    void OnDropTarget(TransferRecord* record);

private:
    // False when the PC file could not be sent at all.
    bool Upload(const TransferRecord& record);

    CLeftView& view_;
};
