#include "workbench/SendGate.h"

struct SendGate::Pending {
    enum class Stage { Queued, Running, Done, Released };
    Stage stage = Stage::Queued;
    LResult result = 0;
};

struct SendGate::State {
    mutable std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
    std::vector<std::shared_ptr<Pending>> waiting;
};

SendGate::SendGate() : state_(std::make_shared<State>()) {}

SendGate::~SendGate() {
    Close();
}

std::optional<LResult> SendGate::Send(const Post& post, std::function<LResult()> handler) {
    // The caller keeps its own share of the state: the gate may be destroyed
    // on the owner thread while this caller still waits to be released.
    const std::shared_ptr<State> state = state_;
    auto pending = std::make_shared<Pending>();
    std::unique_lock lock(state->mutex);
    if (state->closed) {
        return std::nullopt;
    }
    // Queued under the lock, so a Close() on the owner thread either comes
    // before (the call is refused) or sees this caller among the waiting.
    const bool queued =
        post([state, pending, handler = std::move(handler)] { Run(state, pending, handler); });
    if (!queued) {
        return std::nullopt;
    }
    state->waiting.push_back(pending);
    state->changed.wait(lock, [&] {
        return pending->stage == Pending::Stage::Done || pending->stage == Pending::Stage::Released;
    });
    std::erase(state->waiting, pending);
    if (pending->stage == Pending::Stage::Released) {
        return std::nullopt;
    }
    return pending->result;
}

void SendGate::Run(const std::shared_ptr<State>& state, const std::shared_ptr<Pending>& pending,
                   const std::function<LResult()>& handler) {
    {
        std::lock_guard lock(state->mutex);
        if (pending->stage != Pending::Stage::Queued) {
            return;
        }
        pending->stage = Pending::Stage::Running;
    }
    // The handler runs unlocked: it may show modal dialogs, send further
    // messages or release this very caller.
    const LResult result = handler();
    {
        std::lock_guard lock(state->mutex);
        if (pending->stage != Pending::Stage::Running) {
            return;
        }
        pending->stage = Pending::Stage::Done;
        pending->result = result;
    }
    state->changed.notify_all();
}

void SendGate::Close() {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    ReleaseWaitingLocked();
}

bool SendGate::IsClosed() const {
    std::lock_guard lock(state_->mutex);
    return state_->closed;
}

std::size_t SendGate::WaitingCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->waiting.size();
}

void SendGate::ReleaseWaitingLocked() {
    for (const auto& pending : state_->waiting) {
        pending->stage = Pending::Stage::Released;
    }
    state_->changed.notify_all();
}
