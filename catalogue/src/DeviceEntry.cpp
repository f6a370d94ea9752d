#include "catalogue/DeviceEntry.h"

#include "catalogue/ListLine.h"

namespace {

// Fields each kind reads: the entry needs all of them.
std::size_t FieldsNeeded(EntryKind kind) {
    switch (kind) {
    case EntryKind::Job:
        return 4;
    case EntryKind::Code:
        return 2;
    case EntryKind::Hal:
    case EntryKind::Val:
        return 3;
    default:
        return 0;
    }
}

std::u16string Shown(std::u16string_view prefix, const std::u16string& field) {
    return std::u16string(prefix) + ListLine::WithoutLineEnd(field);
}

} // namespace

std::optional<DeviceEntry> DeviceEntry::FromLine(EntryKind kind, std::u16string_view line) {
    if (kind == EntryKind::Format) {
        return DeviceEntry{ListLine::WithoutLineEnd(line), {}};
    }
    const std::size_t needed = FieldsNeeded(kind);
    const auto f = ListLine::Split(line, ListLine::kEntryFields);
    if (needed == 0 || f.size() < needed) {
        return std::nullopt;
    }
    switch (kind) {
    case EntryKind::Job:
        return DeviceEntry{Shown(u"JobList:", f[1] + u" [" + f[0] + u"]"),
                           {Shown(u"FixPoints:", f[2]), Shown(u"MeasurementPoints:", f[3])}};
    case EntryKind::Code:
        return DeviceEntry{Shown(u"CodeBook:", f[1]), {Shown(u"Name:", f[0])}};
    case EntryKind::Hal:
        return DeviceEntry{Shown(u"HalList:", f[1]), {Shown(u"Points:", f[2])}};
    default:
        return DeviceEntry{Shown(u"ValList:", f[1]), {Shown(u"Points:", f[2])}};
    }
}

std::u16string DeviceEntry::DeviceText(std::u16string_view portText, std::u16string_view line) {
    std::u16string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == u'\r' && i + 1 < line.size() && line[i + 1] == u'\n') {
            ++i;
            continue;
        }
        text += line[i];
    }
    const std::size_t tail = text.size() > 7 ? text.size() - 7 : 0;
    return std::u16string(portText) + u": " + text.substr(tail, 3) + u" SERIES";
}
