#pragma once

#include "catalogue/EntryKind.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class DownloadSink;
struct TransferRequest;

// The one account of the operation that runs on the link, for the window
// and for stationlink-cli alike: which operation it is, whether it is over,
// and how it ended. Every way an operation can end arrives here (the
// script's end, a line too long to take, the destination file failing, the
// line lost, the instrument silent or answering with an error, the user
// stopping it), and the operation
// ends exactly once: the end handler gets its outcome, with a message for
// the user whenever it did not simply succeed. A download's file follows the
// outcome: complete under its final name, kept as "<name>.part", or nothing.
//
// Not thread-safe: its owner calls it from one thread at a time.
class TransferMonitor {
public:
    // Abort: the wake commands that bring the instrument back to idle after
    // an operation was stopped.
    enum class Operation { None, Connect, Download, Upload, Erase, Abort };
    enum class Ending {
        Done,       // the script reached its end
        NoData,     // a download whose instrument sent no data lines
        LineLost,   // hang-up, read error, device gone
        Silent,     // the instrument did not answer in time
        Overlong,   // a line longer than the engine takes
        FileFailed, // the destination file could not be written
        Stopped,    // the user stopped it, or the port was closed
        Refused,    // the instrument answered with an error ("@E...")
    };
    struct Outcome {
        Operation operation = Operation::None;
        Ending ending = Ending::Done;
        std::string item;       // what the operation was about, as the user named it
        std::string message;    // UTF-8; empty for a plain success
        std::string file;       // a download's final file
        std::string keptPart;   // the partial file a cut-off download left
        bool converted = false; // a download converted into a point file
        std::size_t lines = 0;  // data lines received, or file lines sent
        std::size_t points = 0; // points a converted download wrote
        std::size_t total = 0;  // file lines of an upload
    };
    using EndHandler = std::function<void(const Outcome&)>;

    explicit TransferMonitor(EndHandler onEnd = {});

    // One line for the window's status bar when an operation has ended:
    // "BRIDGE.gsi: 24 lines written", "SITE03.dat: 12 points written", "new.gsi: 16 lines sent",
    // "SITE03.gsi: download failed".
    static std::string StatusLine(const Outcome& outcome);
    void SetEndHandler(EndHandler onEnd) { onEnd_ = std::move(onEnd); }
    // The port's name, for the messages.
    void SetPort(std::string port) { port_ = std::move(port); }

    // item names the operation in messages (UTF-8).
    void BeginConnect();
    void BeginDownload(const TransferRequest& request, std::string item, DownloadSink& sink);
    void BeginUpload(const TransferRequest& request, std::string item);
    void BeginErase(const TransferRequest& request, std::string item);
    void BeginAbort();
    // The operation could not be started after all: it ends without an outcome.
    void Forget();

    bool Running() const { return operation_ != Operation::None; }
    // The data lines the running download's first line announces (its last
    // field, "JOB,IN:BRIDGE,1,COORDS,GSI,24"); 0 before it came or when it
    // announces none.
    std::size_t AnnouncedLines() const { return announced_; }
    Operation Current() const { return operation_; }

    // What the instrument's replies mean, from the reply dispatcher.
    // The connect script has read every list: the connect is done.
    void OnListsRead();
    // A download's data line; true when it counts as a progress step.
    bool OnDataLine(std::string_view line);
    void OnLineSent();
    // The first line of a list read again after an upload came.
    void OnListRefilled();
    // Asked at a script's end, before OnScriptEnd: the category of an upload
    // whose list came back without a line, which the tree must empty.
    std::optional<EntryKind> EmptiedCategory() const;
    void OnScriptEnd();
    void OnOverlongLine();
    // The instrument's error reply, "@E" and its code.
    void OnRefused(std::string_view reply);

    // What happens around the replies, from the owner.
    void OnLinkLost(const std::string& reason);
    void OnSilence(std::chrono::milliseconds silentFor);
    void Stop();

private:
    void Begin(Operation operation, std::string item);
    void End(Ending ending, std::string cause);
    void SettleDownload(Outcome& outcome, std::string& cause);
    std::string Consequence(const Outcome& outcome) const;

    EndHandler onEnd_;
    std::string port_;
    Operation operation_ = Operation::None;
    std::string item_;
    DownloadSink* sink_ = nullptr;
    std::string file_;
    bool converted_ = false;
    std::optional<EntryKind> uploadCategory_;
    bool listRefilled_ = false;
    std::size_t sent_ = 0;
    std::size_t total_ = 0;
    std::size_t announced_ = 0;
    bool headerSeen_ = false;
};
