#pragma once

#include "fielddata/GsiWord.h"

#include <optional>
#include <string>
#include <string_view>

// The files coordbook reads and writes: point files (".dat") and the
// coordinate blocks of GSI-8 and GSI-16 jobs.
enum class BookFormat { Dat, Gsi8, Gsi16 };

class BookFormats {
public:
    // "dat", "gsi8", "gsi16" (any case).
    static std::optional<BookFormat> ByName(std::string_view name);
    // ".dat" a point file, ".gsi" GSI-16 (any case); nullopt otherwise.
    static std::optional<BookFormat> ByExtension(std::string_view path);
    // "point file", "GSI-8", "GSI-16".
    static std::string Title(BookFormat format);

    static bool IsGsi(BookFormat format) { return format != BookFormat::Dat; }
    static GsiWidth WidthOf(BookFormat format) {
        return format == BookFormat::Gsi8 ? GsiWidth::Gsi8 : GsiWidth::Gsi16;
    }
    static BookFormat OfWidth(GsiWidth width) {
        return width == GsiWidth::Gsi8 ? BookFormat::Gsi8 : BookFormat::Gsi16;
    }
};
