#pragma once

#include <string>
#include <string_view>

// Names that come from the instrument (job, code list and alignment names)
// or are typed by the user become the name of one file in the chosen folder,
// never a path: whatever they hold, the file lands in that folder.
class SafeFileName {
public:
    // Put in place of a character a file name cannot hold, and in front of a
    // name the file manager would hide or take for a folder ("." and "..").
    static constexpr char16_t kReplacement = u'_';

    // "/" and "\" (a separator here or on the instrument's side), NUL and the
    // other control characters become "_"; a name beginning with "." gets a
    // "_" in front. A safe name comes back unchanged.
    static std::u16string Of(std::u16string_view name);
};
