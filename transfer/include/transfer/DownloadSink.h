#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct TransferRequest;

// Where the data lines of one download go, and what becomes of them when
// the download ends. The transfer monitor begins a sink for every download,
// hands it each data line, and at the end either completes it, keeps what
// arrived, or discards it, as the download's outcome decides.
class DownloadSink {
public:
    virtual ~DownloadSink() = default;

    // A download into the request's destination begins (its jobLabel; a
    // pcFormat of "CASS" converts the lines into a point file at the end).
    virtual void Begin(const TransferRequest& request) = 0;
    // One data line exactly as received, CR LF included. True when it
    // counts as a progress step; false without a step, with Failure() set,
    // when the destination failed.
    virtual bool OnDataLine(std::string_view line) = 0;
    // Data lines received so far; the transfer's first line, a header the
    // instrument sends before the data, is not counted.
    virtual std::size_t DataLines() const = 0;
    // The points a completed "CASS" download wrote into its point file; 0
    // for every other download.
    virtual std::size_t PointsWritten() const { return 0; }
    // The instrument ended the data: the file takes its final name. False
    // when that failed (Failure() says why).
    virtual bool Complete() = 0;
    // The download ends without all its data, or Complete failed: what
    // arrived is kept under the partial name, which is returned; empty when
    // nothing is kept.
    virtual std::string KeepPartial() = 0;
    // The download brought no data: nothing is left behind.
    virtual void Discard() = 0;
    // Why the destination failed; empty when it did not.
    virtual std::string Failure() const = 0;
};
