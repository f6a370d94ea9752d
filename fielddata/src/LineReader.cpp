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

const char* FindLineEnd(std::string_view chunk) {
    for (const char& c : chunk) {
        if (c == '\n' || c == '\r') {
            return &c;
        }
    }
    return nullptr;
}

// Gathers the pieces of one line across chunks and hands whole lines over.
// A CR at the end of a chunk waits for the next chunk to tell CR LF from
// CR alone.
class LineSplitter {
public:
    explicit LineSplitter(const LineReader::Handler& handler) : handler_(handler) {}

    // False once a line was refused or is not acceptable.
    bool Feed(std::string_view chunk) {
        if (crPending_) {
            crPending_ = false;
            const bool lf = chunk.front() == '\n';
            if (!Deliver(lf ? LineReader::End::CrLf : LineReader::End::Cr)) {
                return false;
            }
            chunk.remove_prefix(lf ? 1 : 0);
        }
        while (!chunk.empty()) {
            const char* end = FindLineEnd(chunk);
            const std::size_t length = end == nullptr ? chunk.size() : end - chunk.data();
            if (!Gather(chunk.substr(0, length))) {
                return false;
            }
            if (end == nullptr) {
                return true;
            }
            chunk.remove_prefix(length + 1);
            if (*end == '\n') {
                if (!Deliver(LineReader::End::Lf)) {
                    return false;
                }
            } else if (chunk.empty()) {
                crPending_ = true;
            } else {
                const bool lf = chunk.front() == '\n';
                if (!Deliver(lf ? LineReader::End::CrLf : LineReader::End::Cr)) {
                    return false;
                }
                chunk.remove_prefix(lf ? 1 : 0);
            }
        }
        return true;
    }

    bool Finish() {
        if (crPending_) {
            return Deliver(LineReader::End::Cr);
        }
        return !open_ || Deliver(LineReader::End::None);
    }

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

    bool Deliver(LineReader::End end) {
        ++number_;
        open_ = false;
        const std::string_view text = LineReader::WithoutPadding(pending_);
        if (std::memchr(text.data(), '\0', text.size()) != nullptr) {
            return Fail("the line holds a NUL byte; this is not a text file");
        }
        std::string reason;
        const bool accepted = handler_({pending_, end, number_}, reason);
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
    bool crPending_ = false;
    std::optional<FieldFileError> error_;
};

} // namespace

std::string_view LineReader::WithoutPadding(std::string_view text) {
    const std::size_t last = text.find_last_not_of(std::string_view("\x1A\0", 2));
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::optional<FieldFileError> LineReader::Read(const std::string& path, const Handler& handler) {
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
    return lines.Finish() ? std::nullopt : lines.Error();
}
