#include "fielddata/FieldText.h"

#include "platform/CodePage.h"
#include "platform/Utf8Text.h"

#include <algorithm>

std::u16string FieldText::ToUtf16(std::string_view bytes) {
    return CodePage::Wire().ToWide(bytes);
}

std::string FieldText::ToUtf8(std::string_view bytes) {
    // Most names are plain ASCII, which every code page keeps as it is.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(bytes) : Utf8Text::FromUtf16(ToUtf16(bytes));
}
