#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pcbrowse-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = buffer.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directory(path_ + "/" + relative);
}

void TempFolder::MakeFile(const std::string& relative) const {
    std::ofstream(path_ + "/" + relative) << "x";
}

void TempFolder::MakeLink(const std::string& target, const std::string& relative) const {
    std::filesystem::create_symlink(target, path_ + "/" + relative);
}
