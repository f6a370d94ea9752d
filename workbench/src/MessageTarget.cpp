#include "workbench/MessageTarget.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

MessageTarget::MessageTarget(QObject* owner) : owner_(owner) {}

MessageTarget::~MessageTarget() {
    CloseMessages();
}

LResult MessageTarget::SendUserMessage(UserMessage message, WParam wParam, LParam lParam) {
    return TrySendUserMessage(message, wParam, lParam).value_or(0);
}

std::optional<LResult> MessageTarget::TrySendUserMessage(UserMessage message, WParam wParam,
                                                         LParam lParam) {
    if (gate_.IsClosed()) {
        return std::nullopt;
    }
    if (QThread::currentThread() == owner_->thread()) {
        return OnUserMessage(message, wParam, lParam);
    }
    const auto post = [owner = owner_](std::function<void()> call) {
        return QMetaObject::invokeMethod(owner, std::move(call), Qt::QueuedConnection);
    };
    return gate_.Send(
        post, [this, message, wParam, lParam] { return OnUserMessage(message, wParam, lParam); });
}

void MessageTarget::CloseMessages() {
    gate_.Close();
}

bool MessageTarget::MessagesClosed() const {
    return gate_.IsClosed();
}

std::size_t MessageTarget::WaitingThreadSends() const {
    return gate_.WaitingCount();
}
