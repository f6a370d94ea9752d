#pragma once

// Receiver of serial data: the port's receive thread calls OnReceive with
// every burst of bytes, in the order they arrived.
class RcvInterface {
public:
    virtual ~RcvInterface() = default;
    virtual int OnReceive(void* context, const char* data, int length) = 0;
    // The port's receive thread calls this once when the line went away
    // (device unplugged, far end closed, read error) and it stops receiving.
    virtual void OnPortLost(void* /*context*/) {}

protected:
    RcvInterface() = default;
    RcvInterface(const RcvInterface&) = default;
    RcvInterface& operator=(const RcvInterface&) = default;
};
