#include "catalogue/DeviceListing.h"

#include "transfer/LocalPath.h"

void DeviceListing::Connect(std::u16string portText) {
    portText_ = std::move(portText);
    connected_ = true;
    entries_.clear();
}

std::u16string DeviceListing::ConnectedPortText() const {
    return connected_ ? portText_ : std::u16string();
}

void DeviceListing::AppendEntry(EntryKind kind, const DeviceEntry& entry) {
    entries_[kind].push_back(entry);
}

const std::vector<DeviceEntry>& DeviceListing::Entries(EntryKind kind) const {
    static const std::vector<DeviceEntry> kNone;
    const auto found = entries_.find(kind);
    return found != entries_.end() ? found->second : kNone;
}

std::string DeviceListing::Print() const {
    std::string text = "DEVICE\t" + Utf8(portText_) + "\n";
    for (EntryKind kind : kCategories) {
        for (const DeviceEntry& entry : Entries(kind)) {
            text += Utf8(CategoryText(kind)) + "\t" + Utf8(entry.label);
            for (const auto& detail : entry.details) {
                text += "\t" + Utf8(detail);
            }
            text += "\n";
        }
    }
    return text;
}

std::string DeviceListing::Utf8(std::u16string_view text) {
    return LocalPath::FromWide(text);
}
