#include "platform/SafeFileStore.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : ENOSPC;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Devices and pipes cannot be synced; that is no failure of the write.
int Sync(int fd) {
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) {
        return 0;
    }
    return errno;
}

std::string WriteInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        return Reason(errno);
    }
    int error = WriteAll(fd.Get(), bytes);
    if (error == 0) {
        error = Sync(fd.Get());
    }
    error = fd.Close(error);
    return error != 0 ? Reason(error) : std::string();
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// How a save through a temporary file beside the target ended.
struct Replaced {
    std::string reason; // empty when the file was replaced
    // The way was closed before the old file could be at risk: the folder
    // takes no new file, or the new one could not keep the old one's owner.
    bool closed = false;
};

// errno values that close the way through a new file in the folder, but not
// necessarily the write into the file itself.
bool ClosesTheWay(int error) {
    return error == EACCES || error == EPERM || error == EROFS || error == EBUSY;
}

Replaced ReplaceViaTemporary(const std::string& target, const struct stat* old,
                             std::string_view bytes) {
    const std::string folder = Directory(target);
    std::string temporary = target + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        return {Reason(errno), ClosesTheWay(errno)};
    }
    int error = 0;
    bool closed = false;
    struct stat made {};
    if (old != nullptr && ::fstat(fd.Get(), &made) == 0 &&
        (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
        ::fchown(fd.Get(), old->st_uid, old->st_gid) != 0) {
        // Only the owner (or root) may hand a file on: the new file would
        // change the old one's owner or group.
        error = errno;
        closed = true;
    }
    if (error == 0 &&
        ::fchmod(fd.Get(), old != nullptr ? (old->st_mode & 07777) : NewFileMode()) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = WriteAll(fd.Get(), bytes);
    }
    if (error == 0 && ::fsync(fd.Get()) != 0) {
        error = errno;
    }
    error = fd.Close(error);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        closed = ClosesTheWay(error);
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return {Reason(error), closed};
    }
    // The rename itself must reach the disk too.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) {
        ::fsync(directory.Get());
    }
    return {};
}

} // namespace

std::string SafeFileStore::Replace(const std::string& path, std::string_view bytes) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) {
        if (errno != ENOENT) {
            return Reason(errno);
        }
        return ReplaceViaTemporary(path, nullptr, bytes).reason;
    }
    if (S_ISDIR(old.st_mode)) {
        return Reason(EISDIR);
    }
    if (!S_ISREG(old.st_mode)) {
        return WriteInPlace(path, bytes);
    }
    // Through a symbolic link the file it names is replaced, not the link.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return Reason(errno);
    }
    // A new file renamed over one with several names would part it from
    // the others.
    if (old.st_nlink > 1) {
        return WriteInPlace(resolved, bytes);
    }
    const Replaced replaced = ReplaceViaTemporary(resolved, &old, bytes);
    // Writing in place after a failed write of the new file (a full disk)
    // could leave the old one truncated; it is only the way round a folder
    // or an owner that a new file cannot have.
    if (!replaced.closed) {
        return replaced.reason;
    }
    return WriteInPlace(resolved, bytes);
}
