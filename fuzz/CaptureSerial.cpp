#include "CaptureSerial.h"

#include "FuzzCheck.h"
#include "protocol/CDKestaDlg.h"

#include <utility>

int CaptureSerial::ConnectSerial(const CMiniDCB* /*dcb*/) {
    return 1;
}

int CaptureSerial::OuterThreadSendMsg(const char* data, int count) {
    FuzzCheck(data != nullptr && count > 0 && count <= CDKestaDlg::kSendBufferSize,
              "every send fits the send buffer");
    std::lock_guard lock(mutex_);
    FuzzCheck(!closed_, "nothing is sent after the operation ended");
    sent_.emplace_back(data, static_cast<std::size_t>(count));
    return 1;
}

std::vector<std::string> CaptureSerial::TakeSent() {
    std::lock_guard lock(mutex_);
    return std::exchange(sent_, {});
}

void CaptureSerial::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}
