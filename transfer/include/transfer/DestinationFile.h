#pragma once

#include "transfer/ByteSink.h"

#include <cstdint>
#include <string>
#include <string_view>

// A file on the PC that a download writes. It is written under a partial
// name beside its final one ("<name>.part") and takes the final name only
// when it is committed, so an earlier file of that name stays untouched
// until the new one is complete, and a transfer cut off never leaves a file
// that looks complete. A file of the final name is replaced only where its
// owner allowed it; otherwise one found there, or one that appears while
// the partial file is written, is kept and the file fails. Every failure on
// the way is kept as a sentence that names the final path and the reason;
// once one has happened nothing more is written.
class DestinationFile final : public ByteSink {
public:
    static constexpr std::string_view kPartialSuffix = ".part";
    enum class IfExists { Keep, Replace };

    DestinationFile(std::string path, IfExists ifExists);
    // A file neither committed nor discarded stays under its partial name.
    ~DestinationFile() override;
    DestinationFile(const DestinationFile&) = delete;
    DestinationFile& operator=(const DestinationFile&) = delete;

    // Creates the partial file: "<name>.part", or "<name> (2).part" and so on
    // when a partial file of that name is kept already (it stays as it is). A
    // final name that is a folder or a file the user may not write is
    // refused here, before anything is received.
    bool Create();
    // Whether Create would find its folder and the permission to write,
    // without touching anything. A full disk shows only when writing.
    bool CanCreate();
    void Write(std::string_view bytes) override;
    // Hands the buffered bytes to the file system.
    bool Flush();
    // Flushes, closes and gives the file its final name; false when anything
    // failed since Create (what was written then stays as the partial file).
    bool Commit();
    // Closes the file under its partial name and keeps it, also after a
    // failed Commit; when nothing was written it is removed instead and the
    // answer is false.
    bool KeepPartial();
    // Closes and removes the partial file.
    void Discard();

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    const std::string& Path() const { return path_; }
    const std::string& PartialPath() const { return partialPath_; }
    // Bytes handed to the file system so far.
    std::uint64_t BytesWritten() const { return written_; }

    static constexpr std::size_t kBufferSize = 64 * 1024;
    // The nth partial name of a path: n 1 is "<path>.part".
    static std::string PartialName(const std::string& path, int n);
    static constexpr int kMaxPartials = 999;

private:
    bool HasUsableName();
    bool WriteAll(std::string_view bytes);
    bool CloseFile();
    int MoveIntoPlace();
    void Fail(const char* action, const std::string& reason);

    std::string path_;
    std::string partialPath_;
    IfExists ifExists_;
    int fd_ = -1;
    bool onDisk_ = false; // the partial file is there, neither renamed nor removed
    std::string buffer_;
    std::uint64_t written_ = 0;
    std::string error_;
};
