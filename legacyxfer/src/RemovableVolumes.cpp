#include "legacyxfer/RemovableVolumes.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kSearchDepth = 4;
constexpr std::array<std::string_view, 5> kFieldExtensions = {".gsi", ".dat", ".crf", ".hal",
                                                              ".val"};

std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<long>(i) + 1,
                        field.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::string ReadFirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool Removable(const std::string& disk, const RemovableVolumes::Places& places) {
    const fs::path entry = fs::path(places.sysBlock) / disk;
    if (ReadFirstLine(entry / "removable") == "1") {
        return true;
    }
    std::error_code error;
    const fs::path target = fs::canonical(entry, error);
    return !error && target.string().find("/usb") != std::string::npos;
}

bool IsFieldFile(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(kFieldExtensions.begin(), kFieldExtensions.end(), extension) !=
           kFieldExtensions.end();
}

} // namespace

std::vector<RemovableVolume> RemovableVolumes::List(const Places& places) {
    std::ifstream in(places.mountTable);
    const std::string table((std::istreambuf_iterator<char>(in)), {});
    return FromMountTable(table, places);
}

std::vector<RemovableVolume> RemovableVolumes::FromMountTable(std::string_view table,
                                                              const Places& places) {
    std::vector<RemovableVolume> volumes;
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType;
        if (!(fields >> device >> mountPoint >> fsType) || !device.starts_with("/dev/")) {
            continue;
        }
        const std::string disk = DiskOf(fs::path(device).filename().string());
        if (!Removable(disk, places)) {
            continue;
        }
        volumes.push_back({Unescape(device), Unescape(mountPoint), fsType});
    }
    return volumes;
}

std::string RemovableVolumes::DiskOf(std::string_view partition) {
    std::size_t end = partition.size();
    while (end > 0 && partition[end - 1] >= '0' && partition[end - 1] <= '9') {
        --end;
    }
    if (end == partition.size() || end == 0) {
        return std::string(partition);
    }
    // "mmcblk0p1", "nvme0n1p2": the partition number follows a "p" after a digit.
    if (partition[end - 1] == 'p' && end >= 2 && partition[end - 2] >= '0' &&
        partition[end - 2] <= '9') {
        return std::string(partition.substr(0, end - 1));
    }
    // "mmcblk0", "nvme0n1" are whole disks: their digits are not a partition.
    if (partition.starts_with("mmcblk") || partition.starts_with("nvme")) {
        return std::string(partition);
    }
    return std::string(partition.substr(0, end));
}

std::vector<std::string> RemovableVolumes::FieldFiles(const std::string& mountPoint) {
    std::vector<std::string> files;
    std::error_code error;
    fs::recursive_directory_iterator walk(mountPoint, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (walk.depth() >= kSearchDepth) {
            walk.disable_recursion_pending();
        }
        if (walk->is_regular_file(error) && IsFieldFile(walk->path())) {
            files.push_back(walk->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}
