#pragma once

#include "platform/QelPtrObject.h"
#include "platform/RcvInterface.h"

#include <atomic>
#include <string>

struct CMiniDCB;

// A serial port as the link uses it: connect with parameters, send from any
// thread, receive through the registered RcvInterface on a thread of the
// port's own.
class QelSerialPro : public QelPtrObject {
public:
    // 1 connected, 0 failed (LastError() says why).
    virtual int ConnectSerial(const CMiniDCB* dcb) = 0;
    virtual int DisConnectSerial() = 0;
    // 1 when all count bytes were written, 0 otherwise.
    virtual int OuterThreadSendMsg(const char* data, int count) = 0;
    // A sentence for the user on why the last connect or send failed.
    virtual std::string LastError() const = 0;
    // True once a connected port has lost its line (see RcvInterface).
    virtual bool PortLost() const { return false; }

    void RegisterRcvInterface(RcvInterface* receiver) { receiver_ = receiver; }
    void SetTaskPool(QelPtrObject* pool) { pool_ = pool; }

protected:
    RcvInterface* Receiver() const { return receiver_; }
    QelPtrObject* TaskPool() const { return pool_; }

private:
    std::atomic<RcvInterface*> receiver_{nullptr};
    QelPtrObject* pool_ = nullptr;
};
