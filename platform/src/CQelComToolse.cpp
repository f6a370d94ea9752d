#include "platform/CQelComToolse.h"

#include <cstring>
#include <string_view>

int CQelComToolse::ReturnEndFlagPos(const char* buffer, int length, const char* flag) {
    if (buffer == nullptr || flag == nullptr || length <= 0 || *flag == '\0') {
        return kNotFound;
    }
    const std::string_view data(buffer, static_cast<std::size_t>(length));
    const std::size_t at = data.find(flag);
    if (at == std::string_view::npos) {
        return kNotFound;
    }
    return static_cast<int>(at) - 1;
}
