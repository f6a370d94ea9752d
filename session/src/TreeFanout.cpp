#include "session/TreeFanout.h"

void TreeFanout::Connect(const std::u16string& portText) {
    listing_.Connect(portText);
    if (follower_ != nullptr) {
        follower_->SetConnectedPortText(portText);
        for (const EntryKind kind : kCategories) {
            follower_->ClearCategory(kind);
        }
    }
}

void TreeFanout::SetConnectedPortText(const std::u16string& text) {
    listing_.SetConnectedPortText(text);
    if (follower_ != nullptr) {
        follower_->SetConnectedPortText(text);
    }
}

void TreeFanout::AppendEntry(EntryKind kind, const DeviceEntry& entry) {
    listing_.AppendEntry(kind, entry);
    if (follower_ != nullptr) {
        follower_->AppendEntry(kind, entry);
    }
}

void TreeFanout::ClearCategory(EntryKind kind) {
    listing_.ClearCategory(kind);
    if (follower_ != nullptr) {
        follower_->ClearCategory(kind);
    }
}

void TreeFanout::InitDone() {
    listing_.InitDone();
    if (follower_ != nullptr) {
        follower_->InitDone();
    }
}

void TreeFanout::StepProgress() {
    listing_.StepProgress();
    if (follower_ != nullptr) {
        follower_->StepProgress();
    }
}
