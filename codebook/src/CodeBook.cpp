#include "codebook/CodeBook.h"

long CodeBook::Find(const std::string& code) const {
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i].code == code) {
            return static_cast<long>(i);
        }
    }
    return -1;
}
