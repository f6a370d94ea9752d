#pragma once

#include <string>
#include <string_view>
#include <vector>

// One serial port as the user sees it: its COM name, the device file behind
// it and a description (USB product, /dev/serial/by-id name, or its kind).
struct ComPort {
    std::string name;
    std::string device;
    std::string description;
};

// Where the system keeps its device information; tests point these at a
// fake tree.
struct SerialDevicePlaces {
    std::string sysClassTty = "/sys/class/tty";
    std::string devDir = "/dev";
    std::string byIdDir = "/dev/serial/by-id";
};

// The map from COM names to device files. It comes from the environment
// variable STATIONLINK_PORTS ("COM1=/dev/ttyUSB0;COM7=/tmp/x4sim-tty") when
// that is set, otherwise from the serial devices the kernel lists under
// /sys/class/tty, numbered COM1, COM2, ... in the order ttyS, ttyUSB, ttyACM,
// rfcomm, each in numeric order.
class ComPortMap {
public:
    using Places = SerialDevicePlaces;

    static constexpr const char* kEnvironmentVariable = "STATIONLINK_PORTS";

    // The map of this system, read afresh on every call.
    static ComPortMap System();
    // Entries "NAME=PATH" separated by ";"; blanks around names and paths are
    // ignored, entries without "=" or with an empty side are skipped.
    static ComPortMap FromText(std::string_view text, const Places& places = {});
    static ComPortMap FromSysfs(const Places& places = {});

    const std::vector<ComPort>& Ports() const { return ports_; }
    // The folders in which a port appearing or going changes the map of
    // this system: the folders of the mapped files when STATIONLINK_PORTS
    // is set, else the device folder.
    static std::vector<std::string> WatchedFolders(const Places& places = {});

    // The port of that name: the exact name first, else the first entry with
    // the same COM number ("com7" for "COM7"); null when there is none.
    const ComPort* Find(std::string_view name) const;

    // What a device file is, for the user: USB product and by-id name, or its
    // kind ("pseudo-terminal", "built-in serial port", ...); "not present"
    // when the file does not exist.
    static std::string Describe(const std::string& device, const Places& places = {});

private:
    std::vector<ComPort> ports_;
};
