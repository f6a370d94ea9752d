#include "fielddata/LineReader.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Gathers the pieces of one line across chunks and hands whole lines over.
class LineSplitter {
public:
    explicit LineSplitter(const LineReader::Handler& handler) : handler_(handler) {}

    // False once a line was refused or is not acceptable.
    bool Feed(std::string_view chunk) {
        while (!chunk.empty()) {
            const void* lf = std::memchr(chunk.data(), '\n', chunk.size());
            const std::size_t length =
                lf == nullptr ? chunk.size() : static_cast<const char*>(lf) - chunk.data();
            if (!Gather(chunk.substr(0, length)) || (lf != nullptr && !Deliver())) {
                return false;
            }
            chunk.remove_prefix(lf == nullptr ? length : length + 1);
        }
        return true;
    }

    bool Finish() { return !open_ || Deliver(); }
    // Before Finish: whether the last line ended with its LF.
    bool Ended() const { return !open_; }

    std::optional<FieldFileError> Error() const { return error_; }

private:
    bool Gather(std::string_view piece) {
        open_ = true;
        if (pending_.size() + piece.size() > LineReader::kMaxLineBytes) {
            return Fail("the line is longer than " + std::to_string(LineReader::kMaxLineBytes) +
                        " bytes; this is not a field file");
        }
        pending_.append(piece);
        return true;
    }

    bool Deliver() {
        ++number_;
        open_ = false;
        if (std::memchr(pending_.data(), '\0', pending_.size()) != nullptr) {
            return Fail("the line holds a NUL byte; this is not a text file");
        }
        std::string reason;
        const bool accepted = handler_(pending_, number_, reason);
        pending_.clear();
        return accepted || Fail(std::move(reason));
    }

    bool Fail(std::string reason) {
        error_ = FieldFileError{number_ + (open_ ? 1 : 0), std::move(reason)};
        return false;
    }

    const LineReader::Handler& handler_;
    std::string pending_;
    std::size_t number_ = 0;
    bool open_ = false;
    std::optional<FieldFileError> error_;
};

} // namespace

std::optional<FieldFileError> LineReader::Read(const std::string& path, const Handler& handler,
                                               bool* lastLineEnded) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0) {
        return FieldFileError{0, SystemError("cannot open the file")};
    }
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FieldFileError{0, "not a regular file"};
    }
    if (status.st_size == 0) {
        return FieldFileError{0, "the file is empty"};
    }
    std::vector<char> chunk(kChunkBytes);
    LineSplitter lines(handler);
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FieldFileError{0, SystemError("cannot read the file")};
        }
        if (got == 0) {
            break;
        }
        if (!lines.Feed({chunk.data(), static_cast<std::size_t>(got)})) {
            return lines.Error();
        }
    }
    if (lastLineEnded != nullptr) {
        *lastLineEnded = lines.Ended();
    }
    return lines.Finish() ? std::nullopt : lines.Error();
}
