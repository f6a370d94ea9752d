#include "workbench/LeftViewProgress.h"

#include "workbench/CLeftView.h"

int LeftViewProgress::RunProgressDialog(const QString& caption, const QString& fileType,
                                        const QString& source, const QString& destination,
                                        int total) {
    view_.progress_.caption = caption;
    view_.progress_.fileType = fileType;
    view_.progress_.source = source;
    view_.progress_.destination = destination;
    view_.progress_.block.clear();
    view_.progress_.total = total;
    view_.progress_.totalText = QString::number(total);
    // The bytes on the wire in the transfer's direction since it began.
    const bool sending = caption == QLatin1String("Sending...");
    const TransferSession& link = *view_.session_;
    const std::uint64_t start = sending ? link.BytesSent() : link.BytesReceived();
    view_.progress_.bytesDone = [&link, sending, start] {
        return (sending ? link.BytesSent() : link.BytesReceived()) - start;
    };
    view_.progressShown_ = true;
    view_.progressSteps_ = 0;
    const int result = view_.ExecDialog(view_.progress_);
    // Still shown: the user ended the dialog ("Cancel", Escape, closing it).
    if (view_.progressShown_) {
        view_.progressShown_ = false;
        view_.session_->Cancel();
    }
    return result;
}

// The dialog's total is the list's estimate until the transfer's header
// announces its lines.
void LeftViewProgress::ShowLines(std::size_t lines) {
    view_.progressSteps_ = static_cast<int>(lines);
    view_.progress_.SetDone(static_cast<std::int32_t>(lines));
    if (const auto announced = static_cast<std::int32_t>(view_.session_->AnnouncedLines());
        announced > 0 && announced != view_.progress_.total) {
        view_.progress_.SetTotal(announced);
    }
}

void LeftViewProgress::End() {
    if (view_.progressShown_) {
        view_.progressShown_ = false;
        view_.progress_.Refresh();
        view_.progress_.done(0);
    }
}
