#pragma once

#include <string>
#include <string_view>

// Names and codes of field files are bytes in the wire code page; GDAL
// and Qt want them as Unicode.
class FieldText {
public:
    static std::string ToUtf8(std::string_view bytes);
    static std::u16string ToUtf16(std::string_view bytes);
};
