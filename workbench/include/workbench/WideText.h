#pragma once

#include <QString>

#include <string>
#include <string_view>

// The catalogue's UTF-16 texts and Qt's strings, without a conversion.
inline QString FromWide(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToWide(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
