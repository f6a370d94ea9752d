#include "TestFiles.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

std::filesystem::path FreshTempDir(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
