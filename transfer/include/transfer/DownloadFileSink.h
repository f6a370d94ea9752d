#pragma once

#include "transfer/DestinationFile.h"
#include "transfer/DownloadSink.h"

#include <memory>
#include <string>

// The download sink that writes PC files. A raw download (every data type
// but "CASS") is written line by line, byte for byte, into the partial file
// beside its destination: the first data line creates it and is not
// written, every later line is written at once. A "CASS" download collects
// its lines in memory and converts them into the point file when it
// completes; its first line only checks that the file can be created. The
// file takes its final name only when the download completes, and replaces
// a file of that name only where the request allows it; a download cut off,
// or one whose file could not take its name, keeps what arrived as
// "<name>.part" (for "CASS" the collected lines, which `stationlink-cli
// convert` turns into points).
//
// Not thread-safe: the transfer monitor's owner calls it from one thread at
// a time.
class DownloadFileSink final : public DownloadSink {
public:
    DownloadFileSink();
    ~DownloadFileSink() override;
    DownloadFileSink(const DownloadFileSink&) = delete;
    DownloadFileSink& operator=(const DownloadFileSink&) = delete;

    void Begin(const TransferRequest& request) override;
    bool OnDataLine(std::string_view line) override;
    std::size_t DataLines() const override;
    std::size_t PointsWritten() const override { return points_; }
    bool Complete() override;
    std::string KeepPartial() override;
    void Discard() override;
    std::string Failure() const override { return failure_; }

private:
    bool WriteLine(std::string_view line);
    bool CollectLine(std::string_view line);
    bool CompleteConverted();
    void Fail(const std::string& why);

    std::string path_;
    DestinationFile::IfExists ifExists_ = DestinationFile::IfExists::Keep;
    bool converted_ = false;
    std::size_t lines_ = 0;
    std::size_t points_ = 0;
    std::unique_ptr<DestinationFile> file_;
    // The "CASS buffer": std::string grows geometrically, so collecting n
    // lines copies O(n) bytes in all.
    std::string collected_;
    std::string failure_;
};
