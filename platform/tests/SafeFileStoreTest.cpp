#include "platform/SafeFileStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Folder permissions bind only a user without privileges: as root the
// store runs in a child process as "nobody".
constexpr uid_t kNobody = 65534;

uid_t UnprivilegedUser() {
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}

std::string StoreUnprivileged(const std::string& path, const std::string& bytes) {
    if (::geteuid() != 0) {
        return SafeFileStore::Replace(path, bytes);
    }
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        const std::string reason = dropped ? SafeFileStore::Replace(path, bytes) : "still root";
        const ssize_t written = ::write(pipe[1], reason.data(), reason.size());
        ::_exit(written == static_cast<ssize_t>(reason.size()) ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string reason;
    char chunk[256];
    for (ssize_t got; (got = ::read(pipe[0], chunk, sizeof chunk)) > 0;) {
        reason.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? reason : "the child failed";
}

class SafeFileStoreTest : public ::testing::Test {
protected:
    SafeFileStoreTest() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "safe-store-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~SafeFileStoreTest() override { std::filesystem::remove_all(folder_); }

    std::string Path(const char* name) const { return folder_ + "/" + name; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
};

} // namespace

TEST_F(SafeFileStoreTest, StoresEveryByteKeepingModeAndLinks) {
    const std::string path = Path("road.hal");
    std::string bytes;
    for (int value = 0; value <= 0xFF; ++value) {
        bytes += static_cast<char>(value);
    }
    ASSERT_EQ(SafeFileStore::Replace(path, bytes), "");
    EXPECT_EQ(ReadAll(path), bytes);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string link = Path("link.hal");
    std::filesystem::create_symlink(path, link);
    ASSERT_EQ(SafeFileStore::Replace(link, "new"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.hal", "road.hal"}));
}

TEST_F(SafeFileStoreTest, FailedStoresNameTheReasonAndLeaveNothingBehind) {
    WriteAll(Path("plain"), "keep");
    EXPECT_EQ(SafeFileStore::Replace(Path("missing/x.hal"), "x"), "No such file or directory");
    EXPECT_EQ(SafeFileStore::Replace(Path("plain/x.hal"), "x"), "Not a directory");
    EXPECT_EQ(SafeFileStore::Replace(folder_, "x"), "Is a directory");
    // Refused even to root.
    EXPECT_EQ(SafeFileStore::Replace("/sys/safe-store-test", "x"), "Permission denied");
    EXPECT_EQ(SafeFileStore::Replace("/dev/full", "x"), "No space left on device");
    EXPECT_EQ(ReadAll(Path("plain")), "keep");
    EXPECT_EQ(Entries(), std::vector<std::string>{"plain"});
}

// Where a new file cannot be made beside the old one, or renamed over it
// would part hard links or hand the file to another owner, it is written in
// place; only when that fails too is the reason reported.
TEST_F(SafeFileStoreTest, WritesInPlaceWhereANewFileCannotOrMustNotReplaceIt) {
    const std::string road = Path("road.hal");
    const std::string twin = Path("twin.hal");
    WriteAll(road, "old");
    ASSERT_EQ(::link(road.c_str(), twin.c_str()), 0);
    ASSERT_EQ(SafeFileStore::Replace(road, "new"), "");
    EXPECT_EQ(ReadAll(twin), "new");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"road.hal", "twin.hal"}));

    struct Case {
        const char* folder;
        mode_t folderMode;
        mode_t fileMode;
        bool ownedByUser;
        std::string reason;
    };
    const Case cases[] = {
        {"readonly", 0555, 0640, true, ""},
        {"theirs", 0777, 0666, false, ""},
        {"closed", 0555, 0440, true, "Permission denied"},
    };
    // The user is to pass through the test's own folder.
    ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
    for (const Case& c : cases) {
        if (!c.ownedByUser && ::geteuid() != 0) {
            continue; // only root can give a file to another owner
        }
        SCOPED_TRACE(c.folder);
        const std::string folder = Path(c.folder);
        const std::string file = folder + "/f.hal";
        ASSERT_TRUE(std::filesystem::create_directory(folder));
        WriteAll(file, "old");
        const uid_t owner = c.ownedByUser ? UnprivilegedUser() : 0;
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(file.c_str(), owner, owner), 0);
        }
        ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);

        EXPECT_EQ(StoreUnprivileged(file, "new"), c.reason);
        EXPECT_EQ(ReadAll(file), c.reason.empty() ? "new" : "old");
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.fileMode);
        EXPECT_EQ(info.st_uid, owner);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                                std::filesystem::directory_iterator()),
                  1);
        ::chmod(folder.c_str(), 0755);
    }
}
