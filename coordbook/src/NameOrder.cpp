#include "coordbook/NameOrder.h"

#include <algorithm>

namespace {

constexpr char kNumberMark = '\x01';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string NameOrder::Key(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 4);
    for (std::size_t at = 0; at < name.size();) {
        if (!IsDigit(name[at])) {
            key += name[at++];
            continue;
        }
        const std::size_t end = std::min(name.find_first_not_of("0123456789", at), name.size());
        const std::size_t value = std::min(name.find_first_not_of('0', at), end);
        // Counts stay above zero, so a key that goes on sorts after one that ends.
        key += kNumberMark;
        key += static_cast<char>(1 + std::min<std::size_t>(end - value, 0xFE));
        key.append(name.substr(value, end - value));
        key += static_cast<char>(1 + std::min<std::size_t>(value - at, 0xFE));
        at = end;
    }
    return key;
}

bool NameOrder::Less(std::string_view a, std::string_view b) {
    return Key(a) < Key(b);
}

NameOrder::ShortKey NameOrder::Short(std::string_view name) {
    const std::string key = Key(name);
    ShortKey head{};
    const std::size_t kept = std::min(key.size(), head.size() - 1);
    std::copy_n(key.begin(), kept, head.begin());
    head.back() = key.size() > kept ? kCut : 0;
    return head;
}
