#include "pcbrowse/VolumeList.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array<std::string_view, 7> kNetworkTypes = {"nfs",   "nfs4", "cifs",      "smb3",
                                                           "smbfs", "9p",   "fuse.sshfs"};
// Package images mounted from loop devices: not places a user keeps files.
constexpr std::array<std::string_view, 1> kImageTypes = {"squashfs"};
constexpr std::array<std::string_view, 8> kSystemTrees = {"/boot", "/proc", "/sys", "/dev",
                                                          "/run",  "/snap", "/var", "/usr"};
constexpr std::array<std::string_view, 3> kRemovableTrees = {"/media", "/run/media", "/mnt"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsUnder(std::string_view path, std::string_view tree) {
    return path == tree || (path.size() > tree.size() && path.substr(0, tree.size()) == tree &&
                            path[tree.size()] == '/');
}

template <std::size_t N>
bool IsUnderAny(std::string_view path, const std::array<std::string_view, N>& trees) {
    return std::any_of(trees.begin(), trees.end(),
                       [path](std::string_view tree) { return IsUnder(path, tree); });
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// The table writes blanks, tabs, new lines and backslashes in names as
// "\ooo" octal escapes.
std::string Unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            text += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool IsRealVolume(const MountEntry& entry) {
    if (Contains(kImageTypes, entry.type)) {
        return false;
    }
    return entry.device.starts_with("/") || Contains(kNetworkTypes, entry.type);
}

bool IsRemovable(const std::string& mountPoint) {
    return IsUnderAny(mountPoint, kRemovableTrees);
}

bool IsSystemTree(const std::string& mountPoint) {
    return !IsRemovable(mountPoint) && IsUnderAny(mountPoint, kSystemTrees);
}

} // namespace

std::vector<MountEntry> VolumeList::ParseMountTable(std::string_view table) {
    std::vector<MountEntry> entries;
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string type;
        if (fields >> device >> mountPoint >> type) {
            entries.push_back({Unescape(device), Unescape(mountPoint), Unescape(type)});
        }
    }
    return entries;
}

std::vector<std::string> VolumeList::FromMountTable(std::string_view table,
                                                    const BrowseCheck& canBrowse) {
    std::vector<std::string> root{"/"};
    std::vector<std::string> removable;
    std::vector<std::string> others;
    for (const MountEntry& entry : ParseMountTable(table)) {
        const std::string& point = entry.mountPoint;
        const bool seen = point == "/" ||
                          std::find(removable.begin(), removable.end(), point) != removable.end() ||
                          std::find(others.begin(), others.end(), point) != others.end();
        if (seen || !IsRealVolume(entry) || IsSystemTree(point) || !canBrowse(point)) {
            continue;
        }
        (IsRemovable(point) ? removable : others).push_back(point);
    }
    root.insert(root.end(), removable.begin(), removable.end());
    root.insert(root.end(), others.begin(), others.end());
    return root;
}

std::vector<std::string> VolumeList::System() {
    std::ifstream file("/proc/self/mounts");
    const std::string table{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return FromMountTable(table, &VolumeList::CanBrowse);
}

bool VolumeList::CanBrowse(const std::string& mountPoint) {
    struct stat info {};
    return stat(mountPoint.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(mountPoint.c_str(), R_OK | X_OK) == 0;
}
