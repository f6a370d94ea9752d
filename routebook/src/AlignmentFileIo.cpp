#include "routebook/AlignmentFileIo.h"

#include "platform/SafeFileStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

AlignmentFileIo::Kind AlignmentFileIo::KindOf(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".hal") {
        return Kind::Hal;
    }
    if (ext == ".val") {
        return Kind::Val;
    }
    if (ext == ".xml") {
        return Kind::LandXml;
    }
    if (ext == ".csv") {
        return Kind::Csv;
    }
    if (ext == ".gsi") {
        return Kind::Gsi;
    }
    return Kind::Unknown;
}

bool AlignmentFileIo::Read(const std::string& path, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = path + ": no such file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    bytes.clear();
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxBytes) {
            error = path + ": larger than an alignment can be";
            return false;
        }
    }
    if (in.bad()) {
        error = path + ": read error";
        return false;
    }
    return true;
}

std::string AlignmentFileIo::Write(const std::string& path, const std::string& bytes,
                                   bool overwrite) {
    std::error_code ec;
    if (!overwrite && std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return path + " exists (--overwrite replaces it)";
    }
    const std::string reason = SafeFileStore::Replace(path, bytes);
    return reason.empty() ? reason : path + ": " + reason;
}
