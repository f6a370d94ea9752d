#include "fielddata/LineList.h"

std::string LineList::Text(const std::vector<std::size_t>& lines) {
    std::string text = lines.size() == 1 ? " (line " : " (lines ";
    for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) {
        text += (i > 0 ? ", " : "") + std::to_string(lines[i]);
    }
    if (lines.size() > kListed) {
        text += " and " + std::to_string(lines.size() - kListed) + " more";
    }
    return text + ")";
}
