#include "transfer/SafeFileName.h"

#include <algorithm>

namespace {

// Separators and the C0 and C1 control characters.
bool Unfit(char16_t c) {
    return c == u'/' || c == u'\\' || c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

std::u16string SafeFileName::Of(std::u16string_view name) {
    std::u16string safe(name);
    std::replace_if(safe.begin(), safe.end(), Unfit, kReplacement);
    if (!safe.empty() && safe.front() == u'.') {
        safe.insert(safe.begin(), kReplacement);
    }
    return safe;
}
