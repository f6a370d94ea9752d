#include "TempFolder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "transfer-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::Path(std::string_view name) const {
    return (root_ / name).string();
}

void TempFolder::WriteFile(std::string_view name, std::string_view bytes) const {
    std::ofstream out(root_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::ReadFile(std::string_view name) const {
    std::ifstream in(root_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
