#pragma once

#include "platform/QelSerialPro.h"

#include <mutex>
#include <string>
#include <vector>

// A port that is always there and keeps what the engine sends, for the
// harness to look at (and to answer, when an instrument stands behind it).
class CaptureSerial : public QelSerialPro {
public:
    int ConnectSerial(const CMiniDCB* dcb) override;
    int DisConnectSerial() override { return 1; }
    int OuterThreadSendMsg(const char* data, int count) override;
    std::string LastError() const override { return {}; }

    // What was sent since the last call, one message per send.
    std::vector<std::string> TakeSent();
    // Sends after this are a fault: the operation has ended.
    void Close();

private:
    std::mutex mutex_;
    std::vector<std::string> sent_;
    bool closed_ = false;
};
