#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One line of the kernel's mount table.
struct MountEntry {
    std::string device;
    std::string mountPoint;
    std::string type;
};

// The volumes "My Computer" shows: the mounted file systems a user can
// browse, as mount points. The root file system comes first, then removable
// media (mounted under /media, /run/media or /mnt), then the other real
// volumes, each group in mount order. Pseudo file systems (proc, tmpfs,
// cgroup, ...), read-only package images and the system's own trees (/boot,
// /proc, /sys, /dev, /run, /snap, /var, /usr) are left out, as are mount
// points that are not folders the user may enter.
class VolumeList {
public:
    // Whether the user can open a mount point; the system's answer checks it
    // is a folder with read and search permission.
    using BrowseCheck = std::function<bool(const std::string& mountPoint)>;

    // The volumes of this system, read afresh from /proc/self/mounts.
    static std::vector<std::string> System();
    // The volumes of a mount table in /proc/self/mounts form.
    static std::vector<std::string> FromMountTable(std::string_view table,
                                                   const BrowseCheck& canBrowse);
    static std::vector<MountEntry> ParseMountTable(std::string_view table);
    static bool CanBrowse(const std::string& mountPoint);
};
