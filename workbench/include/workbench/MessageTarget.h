#pragma once

#include "workbench/SendGate.h"
#include "workbench/UserMessage.h"

#include <cstddef>
#include <optional>

class QObject;

// A window that receives user messages, sent synchronously from any thread.
// On the window's own (GUI) thread a send is a direct call of
// OnUserMessage(). From any other thread the call is queued to the GUI thread
// and the sender waits until the handler has returned, so all window work
// happens on the GUI thread while the worker waits.
//
// Shutdown: a view whose worker sends to it must never wait for that worker
// while the worker waits for the view. Before the GUI thread waits for such a
// worker it calls CloseMessages(): this releases the waiting senders and
// refuses new ones.
class MessageTarget {
public:
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    // Sends a message and returns the handler's result; 0 when it was refused
    // or released.
    LResult SendUserMessage(UserMessage message, WParam wParam = 0, LParam lParam = 0);
    // The same; empty when the message was refused or released before its
    // handler returned.
    std::optional<LResult> TrySendUserMessage(UserMessage message, WParam wParam = 0,
                                              LParam lParam = 0);

    // For good: refuses every later send and releases the waiting senders.
    // Views call it first thing when they close.
    void CloseMessages();
    bool MessagesClosed() const;
    // Senders on other threads waiting for this view right now.
    std::size_t WaitingThreadSends() const;

protected:
    // owner: the object (the view itself) whose thread runs the handlers.
    explicit MessageTarget(QObject* owner);

    virtual LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) = 0;

private:
    QObject* owner_;
    SendGate gate_;
};
