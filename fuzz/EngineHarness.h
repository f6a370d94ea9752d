#pragma once

#include "protocol/CKestaCom.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

class CaptureSerial;

// A link whose engine runs one operation on its real worker, fed by the
// caller chunk by chunk. A chunk hand-over returns only once the worker has
// finished its cycle over it, so a run is the same every time; the re-send
// interval is far longer than any run, so no time-out interferes.
//
// Every report of the engine is checked: known tag, a data line that fits
// the line buffer and ends with CR LF, nothing after "TASKEND".
class EngineHarness : public CKestaCom {
public:
    // Request kinds 0 to 12 start their script; kConnect runs the connect script.
    static constexpr int kConnect = 13;
    static constexpr int kOperations = 14;

    EngineHarness();
    ~EngineHarness() override;
    EngineHarness(const EngineHarness&) = delete;
    EngineHarness& operator=(const EngineHarness&) = delete;

    // Starts an operation with a request as the windows would fill it; an
    // upload sends the first uploadLines lines of a small point file.
    void Start(int operation, int uploadLines);
    void Feed(std::string_view chunk);
    std::vector<std::string> TakeSent();
    bool Ended() const { return ended_; }

    int OnDeviceReply(const char* tag, const char* data, int length) override;

protected:
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

private:
    CaptureSerial& Port() const;

    // Set on the worker; read by the feeding thread, which a hand-over may
    // release while the worker is still reporting the end.
    std::atomic<bool> ended_{false};
};
