#include "TestFiles.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

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

std::filesystem::path DemoCopy(const std::string& name) {
    const auto dir = FreshTempDir(name);
    std::filesystem::copy(X4SIM_DEMO_DIR, dir, std::filesystem::copy_options::recursive);
    return dir;
}

std::filesystem::path DemoCopyWithLine(const std::string& name, const std::string& relative,
                                       std::size_t index, const std::string& line) {
    const auto dir = DemoCopy(name);
    const auto file = dir / "data" / relative;
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string read; std::getline(in, read);) {
        if (!read.empty() && read.back() == '\r') {
            read.pop_back();
        }
        lines.push_back(read);
    }
    in.close();
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(std::min(index, lines.size())), line);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines) {
        out << l << "\r\n";
    }
    return dir;
}
