#include "transfer/DestinationFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

} // namespace

DestinationFile::DestinationFile(std::string path, IfExists ifExists)
    : path_(std::move(path)), partialPath_(PartialName(path_, 1)), ifExists_(ifExists) {}

std::string DestinationFile::PartialName(const std::string& path, int n) {
    const std::string number = n > 1 ? " (" + std::to_string(n) + ")" : std::string();
    return path + number + std::string(kPartialSuffix);
}

DestinationFile::~DestinationFile() {
    if (fd_ >= 0) {
        Flush();
        ::close(fd_);
    }
}

void DestinationFile::Fail(const char* action, const std::string& reason) {
    if (error_.empty()) {
        error_ = std::string("Cannot ") + action + " the file \"" + path_ + "\": " + reason + ".";
    }
}

bool DestinationFile::HasUsableName() {
    if (path_.empty()) {
        Fail("create", "no file name was given");
    } else if (path_.find('\0') != std::string::npos) {
        Fail("create", "the name holds a NUL character");
    }
    return !Failed();
}

bool DestinationFile::CanCreate() {
    if (!HasUsableName()) {
        return false;
    }
    struct stat info {};
    if (ifExists_ == IfExists::Keep && ::lstat(path_.c_str(), &info) == 0) {
        Fail("create", "the file exists and is kept");
        return false;
    }
    if (::stat(path_.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            Fail("create", Reason(EISDIR));
        } else if (!S_ISREG(info.st_mode)) {
            // A device or pipe would be replaced by the rename, not written.
            Fail("create", "it is not a regular file");
        } else if (::access(path_.c_str(), W_OK) != 0) {
            Fail("create", Reason(errno));
        }
        return !Failed();
    }
    if (errno != ENOENT) {
        Fail("create", Reason(errno));
        return false;
    }
    std::string folder = std::filesystem::path(path_).parent_path().string();
    if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
        Fail("create", Reason(errno));
    }
    return !Failed();
}

bool DestinationFile::Create() {
    if (!CanCreate()) {
        return false;
    }
    // A partial file already there is what an earlier download kept: it is
    // never opened again, the new one takes the first free name instead.
    // Non-blocking only for the open itself: a named pipe without a reader
    // must fail instead of hanging the transfer.
    for (int n = 1; fd_ < 0 && n <= kMaxPartials; ++n) {
        partialPath_ = PartialName(path_, n);
        fd_ = ::open(partialPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NONBLOCK,
                     0666);
        if (fd_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        Fail("create",
             errno == EEXIST ? "too many partial files are kept beside it" : Reason(errno));
        return false;
    }
    onDisk_ = true;
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    buffer_.reserve(kBufferSize);
    return true;
}

bool DestinationFile::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            Fail("write", Reason(written < 0 ? errno : EIO));
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        written_ += static_cast<std::uint64_t>(written);
    }
    return true;
}

void DestinationFile::Write(std::string_view bytes) {
    if (fd_ < 0 || Failed()) {
        return;
    }
    if (buffer_.size() + bytes.size() > kBufferSize && !Flush()) {
        return;
    }
    if (bytes.size() >= kBufferSize) {
        WriteAll(bytes);
        return;
    }
    buffer_.append(bytes);
}

bool DestinationFile::Flush() {
    if (fd_ < 0 || Failed()) {
        return false;
    }
    const bool written = WriteAll(buffer_);
    buffer_.clear();
    return written;
}

bool DestinationFile::CloseFile() {
    if (fd_ < 0) {
        return !Failed();
    }
    Flush();
    if (::close(fd_) != 0 && errno != EINTR) {
        Fail("write", Reason(errno));
    }
    fd_ = -1;
    return !Failed();
}

bool DestinationFile::Commit() {
    const bool open = fd_ >= 0;
    if (!CloseFile() || !open) {
        return false;
    }
    if (const int error = MoveIntoPlace(); error != 0) {
        Fail("complete", error == EEXIST && ifExists_ == IfExists::Keep
                             ? "a file of that name appeared meanwhile and is kept"
                             : Reason(error));
        return false;
    }
    onDisk_ = false;
    return true;
}

// The partial file takes the final name; 0 or the error. Where nothing may
// be replaced, the rename refuses an existing name; file systems without
// that refusal get a hard link, which cannot replace either, and those
// without links (FAT) a last look just before the rename.
int DestinationFile::MoveIntoPlace() {
    const char* from = partialPath_.c_str();
    const char* to = path_.c_str();
    if (ifExists_ == IfExists::Replace) {
        return ::rename(from, to) == 0 ? 0 : errno;
    }
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return errno;
    }
    if (::link(from, to) == 0) {
        ::unlink(from);
        return 0;
    }
    if (errno == EEXIST) {
        return EEXIST;
    }
    struct stat info {};
    if (::lstat(to, &info) == 0) {
        return EEXIST;
    }
    return ::rename(from, to) == 0 ? 0 : errno;
}

bool DestinationFile::KeepPartial() {
    CloseFile();
    if (onDisk_ && BytesWritten() == 0) {
        ::unlink(partialPath_.c_str());
        onDisk_ = false;
    }
    return onDisk_;
}

void DestinationFile::Discard() {
    buffer_.clear();
    CloseFile();
    if (onDisk_) {
        ::unlink(partialPath_.c_str());
        onDisk_ = false;
    }
}
