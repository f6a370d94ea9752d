#include "catalogue/DeviceListing.h"

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
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // a lone surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
