#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the system keeps the mount table and the disks' flags; tests point
// these at files of their own.
struct VolumePlaces {
    std::string mountTable = "/proc/self/mounts";
    std::string sysBlock = "/sys/block";
};

// A mounted removable volume (a USB memory stick, a card) and the field
// files on it.
struct RemovableVolume {
    std::string device;     // "/dev/sdb1"
    std::string mountPoint; // where its files are
    std::string fsType;
};

// The removable volumes that are mounted, from the mount table and the
// kernel's flags: a disk counts when its "removable" flag is set or it sits
// on a USB bus (many sticks and card readers say they are fixed).
class RemovableVolumes {
public:
    using Places = VolumePlaces;

    static std::vector<RemovableVolume> List(const Places& places = {});
    // The mount table's text, with its octal escapes ("\040" for a blank).
    static std::vector<RemovableVolume> FromMountTable(std::string_view table,
                                                       const Places& places = {});
    // "sdb1" -> "sdb", "mmcblk0p1" -> "mmcblk0", "nvme0n1p2" -> "nvme0n1".
    static std::string DiskOf(std::string_view partition);
    // Field files on a volume (".gsi", ".dat", ".crf", ".hal", ".val"), in
    // name order, looked for a few folders deep.
    static std::vector<std::string> FieldFiles(const std::string& mountPoint);
};
