#include "catalogue/EntryLookup.h"

#include "catalogue/ListLine.h"

#include <algorithm>

namespace {

bool NamedBy(EntryKind kind, const std::vector<std::u16string>& fields, std::u16string_view text) {
    if (fields.size() < 2) {
        return false;
    }
    const std::u16string name = ListLine::WithoutLineEnd(fields[0]);
    const std::u16string number = ListLine::WithoutLineEnd(fields[1]);
    const bool prefixed = kind == EntryKind::Job && name.size() > 3 && name.substr(3) == text;
    return name == text || number == text || prefixed;
}

} // namespace

EntryLookup::Result EntryLookup::Find(const DeviceListing& listing, const DeviceModel& model,
                                      EntryKind kind, std::u16string_view text) {
    Result result;
    const auto& entries = listing.Entries(kind);
    // The label itself wins: it is what `list` prints.
    if (std::any_of(entries.begin(), entries.end(),
                    [&](const DeviceEntry& entry) { return entry.label == text; })) {
        result.label = std::u16string(text);
        return result;
    }
    const std::u16string category(CategoryText(kind));
    for (const DeviceEntry& entry : entries) {
        const auto fields =
            ListLine::Split(model.LineOf(category, entry.label), ListLine::kStoredFields);
        if (NamedBy(kind, fields, text) &&
            std::find(result.candidates.begin(), result.candidates.end(), entry.label) ==
                result.candidates.end()) {
            result.candidates.push_back(entry.label);
        }
    }
    if (result.candidates.size() == 1) {
        result.label = result.candidates.front();
        result.candidates.clear();
    }
    return result;
}
