#pragma once

#include "protocol/PortChoice.h"
#include "protocol/PortSettings.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ComPort;

// The serial ports of the PC in the order they were found, one settings
// record each, with the device file and description the user is shown
// (UTF-8, as the system gives them). A list that knows where its ports come
// from follows the system: Rescan() adds ports that appeared and drops those
// whose device went, and a port keeps its name and settings while its
// device stays.
class PortList {
public:
    struct Port {
        PortSettings settings;
        std::string deviceFile;
        std::string description;
        bool configured = false; // a dialog's choice has been stored
    };

    // The ports of the COM map whose name is "COM" and digits (any case);
    // each gets the defaults and the name "COM%d". A number seen before is
    // skipped, so every name occurs once.
    static PortList FromComPorts(const std::vector<ComPort>& ports);
    // The ports read gives now, read again by Rescan(); a change of a port
    // shows in the folders (see ComPortMap::WatchedFolders).
    using Source = std::function<std::vector<ComPort>()>;
    static PortList FromSource(Source read, std::vector<std::string> folders);
    // The ports of this system (see ComPortMap::System).
    static PortList System();

    // Reads the ports again; true when the list changed. A list without a
    // source stays as it is.
    bool Rescan();
    // Brings the list to the ports of the map now, by device file: a device
    // still there keeps its name, settings and place; a device that went
    // leaves the list; a new one is appended under its name in the map, or
    // under the lowest free COM number when that name is taken. True when
    // anything (also a description) changed.
    bool Update(const std::vector<ComPort>& now);
    const std::vector<std::string>& Folders() const { return folders_; }

    const std::vector<Port>& Ports() const { return ports_; }
    std::vector<std::u16string> Names() const;
    // The port whose name equals `name` exactly; null when there is none.
    const Port* Find(std::u16string_view name) const;

    // Stores a dialog's choice in the record of the chosen port: baud rate,
    // data bits and stop bits as chosen, the parity as its code. False (and
    // nothing changed) when no port has that exact name.
    bool ApplyChoice(const PortChoice& choice);

    // The settings of a configured port as the dialog shows them (parity
    // "EVEN", "NONE" or "ODD"); none for a port never configured, which the
    // dialog opens with its fixed selections.
    std::optional<PortChoice> StoredChoice(std::u16string_view name) const;

    // "2" for "EVEN", "0" for "NONE", "1" for "ODD"; none for other texts.
    static std::optional<std::u16string> ParityCode(std::u16string_view choice);

private:
    int LowestFreeNumber() const;

    std::vector<Port> ports_;
    Source read_;
    std::vector<std::string> folders_;
};
