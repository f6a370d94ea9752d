#pragma once

#include <string_view>

struct TransferRequest;

// Where the data lines of a running download go. The reply dispatcher hands
// every download line and the end of the transfer to a sink and steps or
// ends the progress dialog from what the sink answers; the sink owns the
// destination file and the collected lines of a converted download.
class DownloadSink {
public:
    virtual ~DownloadSink() = default;

    // One data line exactly as received, CR LF included. True when the line
    // counts as a progress step.
    virtual bool OnDataLine(const TransferRequest& request, std::string_view line) = 0;

    // The transfer's script has ended. True when a download was in progress
    // and its progress dialog is to be ended; the destination file is then
    // complete and closed.
    virtual bool OnTaskEnd(const TransferRequest& request) = 0;
};
