#include "platform/ComPortMap.h"

#include "platform/ComPortName.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/serial.h>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The kernel's driver name prefixes of real serial devices, in COM order.
constexpr std::array<std::string_view, 4> kPrefixes = {"ttyS", "ttyUSB", "ttyACM", "rfcomm"};

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::string> ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    return std::string(Trim(line));
}

std::optional<int> TrailingNumber(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

fs::path Canonical(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? fs::path() : real;
}

// A UART that the kernel probed and found nothing at reports type 0
// (PORT_UNKNOWN); the sysfs attribute says so without opening the device.
bool UartPresent(const std::string& name, const ComPortMap::Places& places) {
    if (const auto type = ReadFirstLine(fs::path(places.sysClassTty) / name / "type")) {
        return *type != "0";
    }
    const std::string device = places.devDir + "/" + name;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    serial_struct info{};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

// Bluetooth serial links only exist as virtual devices; every other virtual
// tty (consoles, pseudo-terminals) is no serial port.
bool Wanted(const std::string& name, std::string_view prefix, const ComPortMap::Places& places) {
    const std::string target = Canonical(fs::path(places.sysClassTty) / name).string();
    if (prefix != "rfcomm" && target.find("/virtual/") != std::string::npos) {
        return false;
    }
    return prefix != "ttyS" || UartPresent(name, places);
}

std::vector<std::string> SerialDeviceNames(const ComPortMap::Places& places) {
    std::vector<std::pair<std::size_t, std::pair<int, std::string>>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(places.sysClassTty, error)) {
        const std::string name = entry.path().filename().string();
        for (std::size_t rank = 0; rank < kPrefixes.size(); ++rank) {
            const auto number = TrailingNumber(name, kPrefixes[rank]);
            if (number && Wanted(name, kPrefixes[rank], places)) {
                found.push_back({rank, {*number, name}});
            }
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (const auto& item : found) {
        names.push_back(item.second.second);
    }
    return names;
}

// The USB device directory sits a few levels above the tty's device link
// (interface, then device); it is the first one that has a product name.
std::optional<std::string> UsbProduct(const fs::path& ttyDir) {
    fs::path dir = Canonical(ttyDir / "device");
    for (int level = 0; level < 6 && !dir.empty() && dir != dir.root_path(); ++level) {
        if (fs::exists(dir / "idVendor")) {
            return ReadFirstLine(dir / "product");
        }
        dir = dir.parent_path();
    }
    return std::nullopt;
}

std::optional<std::string> ByIdName(const fs::path& real, const std::string& byIdDir) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(byIdDir, error)) {
        if (Canonical(entry.path()) == real) {
            return entry.path().filename().string();
        }
    }
    return std::nullopt;
}

std::string KindOf(const std::string& name) {
    if (TrailingNumber(name, "ttyS")) {
        return "built-in serial port";
    }
    if (TrailingNumber(name, "rfcomm")) {
        return "Bluetooth serial link";
    }
    if (TrailingNumber(name, "ttyACM")) {
        return "USB modem";
    }
    if (TrailingNumber(name, "ttyUSB")) {
        return "USB serial adapter";
    }
    return "serial device";
}

} // namespace

ComPortMap ComPortMap::System() {
    const char* text = std::getenv(kEnvironmentVariable);
    return text != nullptr ? FromText(text) : FromSysfs();
}

ComPortMap ComPortMap::FromText(std::string_view text, const Places& places) {
    ComPortMap map;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(';'), text.size());
        const std::string_view entry = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = Trim(entry.substr(0, equals));
        const std::string_view device = Trim(entry.substr(equals + 1));
        if (!name.empty() && !device.empty()) {
            map.ports_.push_back(
                {std::string(name), std::string(device), Describe(std::string(device), places)});
        }
    }
    return map;
}

ComPortMap ComPortMap::FromSysfs(const Places& places) {
    ComPortMap map;
    int number = 0;
    for (const std::string& name : SerialDeviceNames(places)) {
        const std::string device = places.devDir + "/" + name;
        map.ports_.push_back({ComPortName::Format(++number), device, Describe(device, places)});
    }
    return map;
}

std::vector<std::string> ComPortMap::WatchedFolders(const Places& places) {
    if (std::getenv(kEnvironmentVariable) == nullptr) {
        return {places.devDir};
    }
    std::vector<std::string> folders;
    const ComPortMap map = System();
    for (const ComPort& port : map.Ports()) {
        const std::string folder = fs::path(port.device).parent_path().string();
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

const ComPort* ComPortMap::Find(std::string_view name) const {
    const auto exact = std::find_if(ports_.begin(), ports_.end(),
                                    [&](const ComPort& port) { return port.name == name; });
    if (exact != ports_.end()) {
        return &*exact;
    }
    const auto number = ComPortName::Number(name);
    const auto same = std::find_if(ports_.begin(), ports_.end(), [&](const ComPort& port) {
        return number && ComPortName::Number(port.name) == number;
    });
    return same != ports_.end() ? &*same : nullptr;
}

std::string ComPortMap::Describe(const std::string& device, const Places& places) {
    const fs::path real = Canonical(device);
    if (real.empty()) {
        return "not present";
    }
    if (real.parent_path() == "/dev/pts" || real == "/dev/ptmx") {
        return "pseudo-terminal";
    }
    const std::string name = real.filename().string();
    const fs::path ttyDir = fs::path(places.sysClassTty) / name;
    const auto product = UsbProduct(ttyDir);
    const auto byId = ByIdName(real, places.byIdDir);
    if (product && byId) {
        return *product + " (" + *byId + ")";
    }
    if (product || byId) {
        return product ? *product : *byId;
    }
    return fs::exists(ttyDir) ? KindOf(name) : "not a serial device";
}
