#include "catalogue/ListLine.h"

#include <limits>

std::vector<std::u16string> ListLine::Split(std::u16string_view line, std::size_t maxFields) {
    std::vector<std::u16string> fields;
    std::size_t start = 0;
    while (fields.size() < maxFields) {
        const std::size_t comma = line.find(u',', start);
        if (comma == std::u16string_view::npos) {
            fields.emplace_back(line.substr(start));
            break;
        }
        fields.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

long long ListLine::ReadDecimal(std::u16string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == u' ' || field[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        negative = field[i] == u'-';
        ++i;
    }
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 10;
    long long value = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        if (value < kLimit) {
            value = value * 10 + (field[i] - u'0');
        }
    }
    return negative ? -value : value;
}

std::u16string ListLine::WithoutLineEnd(std::u16string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == u'\r' || text[end - 1] == u'\n')) {
        --end;
    }
    return std::u16string(text.substr(0, end));
}
