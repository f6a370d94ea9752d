#include "transfer/LocalPath.h"

#include "platform/Utf8Text.h"

std::string LocalPath::FromWide(std::u16string_view path) {
    return Utf8Text::FromUtf16(path);
}
