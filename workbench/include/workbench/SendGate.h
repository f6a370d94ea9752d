#pragma once

#include "workbench/UserMessage.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// Hands calls from other threads to the thread that owns a window and makes
// the caller wait for the result, like a synchronous window message. Unlike
// a plain blocking invocation, the owner can release the waiting callers:
// before it waits for a worker (destroying a view) it closes the gate, so the
// worker never waits for a thread that waits for the worker. Standard C++
// only; the owner supplies how a call is queued.
class SendGate {
public:
    // Queues a call to run later on the owner thread; false when it cannot.
    using Post = std::function<bool(std::function<void()>)>;

    SendGate();
    SendGate(const SendGate&) = delete;
    SendGate& operator=(const SendGate&) = delete;
    ~SendGate();

    // Runs handler on the owner thread through post and waits for its result.
    // Empty when the gate refused the call (closed) or when the
    // owner released the caller before the handler had returned; a released
    // call whose handler has not started yet never runs.
    std::optional<LResult> Send(const Post& post, std::function<LResult()> handler);

    // Refuses every later call for good and releases those waiting.
    void Close();
    bool IsClosed() const;
    // Callers waiting right now.
    std::size_t WaitingCount() const;

private:
    struct Pending;
    struct State;

    static void Run(const std::shared_ptr<State>& state, const std::shared_ptr<Pending>& pending,
                    const std::function<LResult()>& handler);
    void ReleaseWaitingLocked();

    std::shared_ptr<State> state_;
};
