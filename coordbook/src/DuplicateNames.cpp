#include "coordbook/DuplicateNames.h"

void DuplicateNames::Remove(const std::string& name) {
    const auto found = counts_.find(name);
    if (found != counts_.end() && --found->second == 0) {
        counts_.erase(found);
    }
}

std::size_t DuplicateNames::Count(const std::string& name) const {
    const auto found = counts_.find(name);
    return found == counts_.end() ? 0 : found->second;
}
