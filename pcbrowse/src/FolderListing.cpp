#include "pcbrowse/FolderListing.h"

#include "pcbrowse/NaturalOrder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool IsDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// The entry type says "directory" or "file" for most entries; links and file
// systems that leave the type out need a stat of what the name points to.
bool IsFolder(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

void SortNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
}

} // namespace

FolderListing FolderListing::Read(const std::string& folder, const NameFilter& filter) {
    FolderListing listing;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) {
        listing.error = errno;
        return listing;
    }
    listing.readable = true;
    const int dirFd = dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            // A read error part-way keeps what was read; the caller shows that much.
            listing.error = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) {
            continue;
        }
        if (IsFolder(dirFd, *entry)) {
            listing.folders.emplace_back(entry->d_name);
        } else if (filter.Matches(entry->d_name)) {
            listing.files.emplace_back(entry->d_name);
        }
    }
    SortNames(listing.folders);
    SortNames(listing.files);
    return listing;
}
