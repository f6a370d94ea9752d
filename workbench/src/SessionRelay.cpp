#include "workbench/SessionRelay.h"

#include "workbench/CLeftView.h"

#include <QMetaObject>

void SessionRelay::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(&view_, std::move(call), Qt::QueuedConnection);
}

void SessionRelay::OnOperationEnded(const TransferMonitor::Outcome& outcome) {
    Post([this, outcome] { view_.OnOperationEnded(outcome); });
}

void SessionRelay::OnProgress(std::size_t lines, std::size_t, std::uint64_t) {
    Post([this, lines] { view_.progressFlow_.ShowLines(lines); });
}

void SessionRelay::OnLinkState(LinkState state) {
    Post([this, state] { view_.OnLinkState(state); });
}

void SessionRelay::OnLinkMessage(const std::string& text) {
    Post([this, text] { view_.OnLinkMessage(text); });
}

void SessionRelay::SetConnectedPortText(const std::u16string& text) {
    Post([this, text] { view_.categoryNodes_.SetConnectedPortText(text); });
}

void SessionRelay::AppendEntry(EntryKind kind, const DeviceEntry& entry) {
    Post([this, kind, entry] { view_.categoryNodes_.AppendEntry(kind, entry); });
}

void SessionRelay::ClearCategory(EntryKind kind) {
    Post([this, kind] { view_.categoryNodes_.ClearCategory(kind); });
}

// The connect's wait dialog closes at its end (OnOperationEnded), which
// comes however the connect ended, read through or not.
void SessionRelay::InitDone() {}

// Not a call per line: the session counts the lines and the window hears
// the count a few times a second (OnProgress).
void SessionRelay::StepProgress() {}
