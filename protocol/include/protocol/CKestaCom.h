#pragma once

#include "platform/CQelComDll.h"
#include "platform/QelPtrFactory.h"
#include "platform/RcvInterface.h"
#include "protocol/CDKestaDlg.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QelSerialPro;
class QelTaskPool;
class TrafficLog;

// The serial link: owns the port object, a one-worker task pool and the
// protocol engine; opens and closes the port; receives the port's bytes and
// hands them to the engine; starts downloads, erases and uploads.
//
// A class that implements OnDeviceReply must call ShutdownWorker() in its own
// destructor: the worker calls OnDeviceReply and must be gone before the
// implementing object is.
class CKestaCom : public RcvInterface {
public:
    static constexpr const char* kOperationFailed = "Operated Fail , Pls try again";

    explicit CKestaCom(CQelComDll::Creator serialCreator, std::chrono::milliseconds resendInterval =
                                                              CDKestaDlg::kDefaultResendInterval);
    ~CKestaCom() override;
    CKestaCom(const CKestaCom&) = delete;
    CKestaCom& operator=(const CKestaCom&) = delete;

    int OnReceive(void* context, const char* data, int length) override;
    // The port's line went away: the running operation stops (nothing more is
    // sent) and OnLinkLost tells the implementer why.
    void OnPortLost(void* context) final;
    // Called on the engine's worker for every tagged data line and for the
    // engine's notifications.
    virtual int OnDeviceReply(const char* tag, const char* data, int length) = 0;

    // The five texts of one port settings record and the device file the
    // port list shows for it (null: the port map's for the name). False when
    // a port is already open or the port cannot be opened (LastPortError()
    // says why).
    bool OpenPort(const char* portName, const char* baudRate, const char* dataBits,
                  const char* stopBits, const char* parity, const char* deviceFile = nullptr);
    void ClosePort();
    bool IsConnected() const { return connected_; }
    // Bytes the port has handed over since the link was made: the instrument
    // is not silent while a long line is still coming in.
    std::uint64_t BytesReceived() const { return bytesReceived_; }
    std::string LastPortError() const;

    // Start the operation the engine's request describes (the script builder
    // has just prepared it). 1 when it was started; 0 when nothing was sent:
    // the port is closed, the engine could not be reset, or the request's
    // kind does not belong to the operation.
    int StartDownload();
    int StartErase();
    int StartUpload();

    CDKestaDlg& Engine() { return engine_; }

    // Stops the running operation and tells the instrument to stop whatever
    // it is sending or receiving: the abort commands a connect begins with.
    // Their answers are not awaited (the port is about to close).
    void SendAbortCommands();
    // The same, awaiting each answer on the worker (CDKestaDlg::StartAbort);
    // "TASKEND" reports the instrument idle. 1 when started, 0 when not.
    int StartAbort();

    // Every byte sent and received from now on goes to log as well; null
    // ends the logging.
    void SetTrafficLog(std::shared_ptr<TrafficLog> log);
    std::uint64_t BytesSent() const { return engine_.BytesSent(); }

    // Stops the engine's worker and waits until it has left its loop. Safe
    // to call more than once.
    void ShutdownWorker();

protected:
    QelSerialPro* SerialPort() const { return serial_; }

    // Tells the user that an operation could not start; the link has no
    // windows of its own.
    virtual void ShowLinkMessage(const std::string& text) = 0;
    // Called on the port's receive thread once the open port has lost its
    // line; the port stays open until ClosePort.
    virtual void OnLinkLost(const std::string& reason) = 0;

private:
    int StartOperation(int script);

    QelSerialPro* serial_ = nullptr;
    CQelComDll comDll_;
    QelPtrFactory factory_;
    QelTaskPool* pool_ = nullptr;
    CDKestaDlg engine_;
    bool connected_ = false;
    bool workerStopped_ = false;
    std::atomic<std::uint64_t> bytesReceived_{0};
    std::atomic<std::shared_ptr<TrafficLog>> log_;
};
