#pragma once

#include "catalogue/DeviceModel.h"
#include "catalogue/DeviceTree.h"

#include <string>

class TransferMonitor;

// Decides from a reply's tag what the instrument tree does with it: list
// lines become entries of the tree and the model, the device line renames
// the port node, the engine's notifications close the wait dialog and step
// the progress dialog, and what says how the running operation goes (its
// data lines, its lines sent, its end, a line too long to take) goes to the
// transfer monitor, which decides when and how it ends. Every row of the
// table is tested on its own, so one tag may run several actions.
class ReplyDispatcher {
public:
    // Converted list lines are cut to this many UTF-16 units.
    static constexpr std::size_t kMaxLineUnits = 255;

    ReplyDispatcher(DeviceModel& model, DeviceTree& tree, TransferMonitor& monitor);

    // tag: NUL-terminated; data: the raw line with its CR LF (may be null
    // for the engine's notifications). Always 1.
    int OnDeviceReply(const char* tag, const char* data, int length);

    // Whether tag matches a table entry: on its first seven bytes for
    // "TASKEND", "PROGRSA" and "OVERRUN", on six for every other entry.
    static bool TagMatches(const char* tag, const char* entry);
    // The line from the wire code page to UTF-16, cut to kMaxLineUnits.
    static std::u16string Convert(const char* data, int length);

private:
    void AddEntry(EntryKind kind, const char* data, int length);
    void AddRefreshed(EntryKind kind, const char* data, int length);
    void RenamePort(const char* data, int length);
    void AddFormat(const char* data, int length);
    void Refill(EntryKind kind, const char* data, int length);
    void PassDataLine(const char* data, int length);
    void PassLineSent();
    void PassScriptEnd();

    DeviceModel& model_;
    DeviceTree& tree_;
    TransferMonitor& monitor_;
};
