#pragma once

#include <optional>
#include <string_view>

// What a list line (or a node) is, with the numbers the entry builder uses.
enum class EntryKind : int {
    Folder = -1,
    Device = 0,
    Code = 1,
    Job = 2,
    Hal = 3,
    Format = 4,
    Val = 5,
};

// The category folders under a connected port, in the order they are made.
inline constexpr EntryKind kCategories[] = {EntryKind::Job, EntryKind::Code, EntryKind::Format,
                                            EntryKind::Hal, EntryKind::Val};

// "JOB", "COD", "FOR", "HAL", "VAL" for the list kinds; empty for the others.
constexpr std::u16string_view CategoryText(EntryKind kind) {
    switch (kind) {
    case EntryKind::Job:
        return u"JOB";
    case EntryKind::Code:
        return u"COD";
    case EntryKind::Format:
        return u"FOR";
    case EntryKind::Hal:
        return u"HAL";
    case EntryKind::Val:
        return u"VAL";
    default:
        return {};
    }
}

// The list kind of a category folder's text (exact); none for other texts.
constexpr std::optional<EntryKind> CategoryOf(std::u16string_view text) {
    for (EntryKind kind : kCategories) {
        if (CategoryText(kind) == text) {
            return kind;
        }
    }
    return std::nullopt;
}
