#include "protocol/CKestaCom.h"

#include "platform/CMiniDCB.h"
#include "platform/QelSerialPro.h"
#include "platform/QelTaskPool.h"
#include "platform/TrafficLog.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

// Decimal text to a code; text without leading digits gives 0.
int CodeOf(const char* text) {
    return text != nullptr ? std::atoi(text) : 0;
}

} // namespace

CKestaCom::CKestaCom(CQelComDll::Creator serialCreator, std::chrono::milliseconds resendInterval)
    : comDll_(std::move(serialCreator)), engine_(resendInterval) {
    pool_ = dynamic_cast<QelTaskPool*>(factory_.CreateQelPtrObject());
    serial_ = dynamic_cast<QelSerialPro*>(comDll_.CreateQelPtrObject());
    if (serial_ != nullptr) {
        serial_->RegisterRcvInterface(this);
    }
    pool_->SetTaskCount(1);
    pool_->StartPool();
    if (serial_ != nullptr) {
        serial_->SetTaskPool(pool_);
    }
    pool_->AddTask(&engine_);
    engine_.SetSerial(serial_);
    engine_.SetOwner(this);
}

CKestaCom::~CKestaCom() {
    if (connected_) {
        ClosePort();
    }
    ShutdownWorker();
}

void CKestaCom::ShutdownWorker() {
    if (workerStopped_) {
        return;
    }
    engine_.Stop();
    while (!pool_->WaitIdle(std::chrono::milliseconds(10))) {
    }
    pool_->StopPool();
    workerStopped_ = true;
}

int CKestaCom::OnReceive(void* /*context*/, const char* data, int length) {
    bytesReceived_ += static_cast<std::uint64_t>(std::max(length, 0));
    if (const auto log = log_.load(); log && data != nullptr && length > 0) {
        log->Received(std::string_view(data, static_cast<std::size_t>(length)));
    }
    return engine_.HandOver(data, length);
}

void CKestaCom::OnPortLost(void* /*context*/) {
    engine_.StopOperation();
    OnLinkLost(LastPortError());
}

bool CKestaCom::OpenPort(const char* portName, const char* baudRate, const char* dataBits,
                         const char* stopBits, const char* parity, const char* deviceFile) {
    if (connected_ || serial_ == nullptr) {
        return false;
    }
    CMiniDCB dcb;
    if (portName != nullptr) {
        dcb.portName = portName;
    }
    if (baudRate != nullptr) {
        dcb.baudRate = baudRate;
    }
    if (dataBits != nullptr) {
        dcb.dataBits = dataBits;
    }
    if (deviceFile != nullptr) {
        dcb.deviceFile = deviceFile;
    }
    dcb.stopBits = CodeOf(stopBits);
    dcb.parity = CodeOf(parity);
    connected_ = serial_->ConnectSerial(&dcb) != 0;
    return connected_;
}

void CKestaCom::ClosePort() {
    // The pool's only task is the engine itself, queued at construction:
    // clearing the queue before the worker has taken it would leave the link
    // without an engine for every later open, so the queue is left alone.
    // Nothing more goes to a closed port, and a receive hand-over still
    // waiting is let go before the port's receive thread is joined.
    engine_.StopOperation();
    if (serial_ != nullptr) {
        serial_->DisConnectSerial();
    }
    connected_ = false;
}

void CKestaCom::SendAbortCommands() {
    engine_.StopOperation();
    if (!connected_) {
        return;
    }
    for (const std::string_view command : {std::string_view("a\r\n"), std::string_view("c\r\n")}) {
        engine_.SendRaw(command);
    }
}

int CKestaCom::StartAbort() {
    return connected_ && engine_.StartAbort() ? 1 : 0;
}

void CKestaCom::SetTrafficLog(std::shared_ptr<TrafficLog> log) {
    log_.store(log);
    engine_.SetTrafficLog(std::move(log));
}

std::string CKestaCom::LastPortError() const {
    return serial_ != nullptr ? serial_->LastError() : std::string("No serial port is available.");
}

int CKestaCom::StartDownload() {
    return StartOperation(ScriptTable::kDownloadScript);
}
int CKestaCom::StartErase() {
    return StartOperation(ScriptTable::kEraseScript);
}
int CKestaCom::StartUpload() {
    return StartOperation(ScriptTable::kUploadScript);
}

int CKestaCom::StartOperation(int script) {
    if (!connected_) {
        return 0;
    }
    const int started = engine_.StartRequest(script);
    if (started < 0) {
        ShowLinkMessage(kOperationFailed);
    }
    return started > 0 ? 1 : 0;
}
