#pragma once

#include <cerrno>
#include <unistd.h>

// Closes a POSIX file descriptor when the scope ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }
    // Closes now; a failed close may hold a late write error, reported
    // unless an earlier error is already known.
    int Close(int earlier) {
        const int fd = fd_;
        fd_ = -1;
        const int error = ::close(fd) == 0 ? 0 : errno;
        return earlier != 0 ? earlier : error;
    }

private:
    int fd_;
};
