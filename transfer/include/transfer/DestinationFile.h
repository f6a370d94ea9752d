#pragma once

#include "transfer/ByteSink.h"

#include <string>
#include <string_view>

// A file on the PC that a download writes. It is created (an existing file
// is truncated), written through a buffer and closed; every failure on the
// way is kept as a sentence that names the path and the reason, and once
// one has happened nothing more is written.
class DestinationFile final : public ByteSink {
public:
    explicit DestinationFile(std::string path);
    ~DestinationFile() override;
    DestinationFile(const DestinationFile&) = delete;
    DestinationFile& operator=(const DestinationFile&) = delete;

    bool Create();
    // Whether Create would find its folder and the permission to write,
    // without touching the file. A full disk shows only when writing.
    bool CanCreate();
    void Write(std::string_view bytes) override;
    // Hands the buffered bytes to the file system.
    bool Flush();
    // Flushes and closes; false when anything failed since Create.
    bool Close();

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    const std::string& Path() const { return path_; }

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    bool HasUsableName();
    bool WriteAll(std::string_view bytes);
    void Fail(const char* action, const std::string& reason);

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
    std::string error_;
};
