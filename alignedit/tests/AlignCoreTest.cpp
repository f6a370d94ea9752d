#include "alignedit/AlignFile.h"
#include "alignedit/AlignFileTypes.h"
#include "alignedit/AlignTextCodec.h"
#include "alignedit/RecentFileList.h"
#include "alignedit/UntitledNames.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string EveryByteWithCrLf() {
    std::string bytes;
    for (int value = 1; value <= 0xFF; ++value) {
        bytes += static_cast<char>(value);
        if (value % 32 == 0) {
            bytes += "\r\n";
        }
    }
    return bytes; // ends with 0xFF: no final line end
}

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
        return AlignFile::Store(path, bytes);
    }
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        const std::string reason = dropped ? AlignFile::Store(path, bytes) : "still root";
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

class AlignFileTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path().toStdString())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    QTemporaryDir dir_;
};

} // namespace

TEST(AlignTextCodecTest, EveryByteSurvivesDecodeAndEncode) {
    const AlignTextCodec codec{CodePage("")};
    const std::string bytes = EveryByteWithCrLf();
    const AlignTextCodec::Decoded decoded = codec.Decode(bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.lineEnd, LineEnd::CrLf);
    // Seven CR LF pairs are lines; the lone LF (0x0A) and CR (0x0D) are not.
    EXPECT_EQ(std::count(decoded.text.begin(), decoded.text.end(), u'\n'), 7);
    EXPECT_NE(decoded.text.find(AlignTextCodec::kStrayLf), std::u16string::npos);
    EXPECT_NE(decoded.text.find(AlignTextCodec::kStrayCr), std::u16string::npos);
    const AlignTextCodec::Encoded encoded = codec.Encode(decoded.text, decoded.lineEnd);
    ASSERT_TRUE(encoded.ok) << encoded.error;
    EXPECT_EQ(encoded.bytes, bytes);
}

TEST(AlignTextCodecTest, LineEndsFollowTheFile) {
    const AlignTextCodec codec{CodePage("")};
    const AlignTextCodec::Decoded unix = codec.Decode("A\nB\rC\n");
    ASSERT_TRUE(unix.ok);
    EXPECT_EQ(unix.lineEnd, LineEnd::Lf);
    EXPECT_EQ(unix.text, u"A\nB\u240DC\n");
    EXPECT_EQ(codec.Encode(u"A\nB\nC", LineEnd::Lf).bytes, "A\nB\nC");
    // Lines typed into a CR LF document end with CR LF; a new document is CR LF too.
    EXPECT_EQ(AlignTextCodec::DetectLineEnd(""), LineEnd::CrLf);
    EXPECT_EQ(codec.Encode(u"A\nB\n", LineEnd::CrLf).bytes, "A\r\nB\r\n");
    EXPECT_EQ(codec.Decode("\r\r\n\n").text, u"\u240D\n\u240A");
}

TEST(AlignTextCodecTest, RefusesWhatCannotComeBackUnchanged) {
    const AlignTextCodec cp1252{CodePage("")};
    const AlignTextCodec::Decoded nul = cp1252.Decode(std::string("AB\0C", 4));
    EXPECT_FALSE(nul.ok);
    EXPECT_NE(nul.error.find("NUL byte at offset 2"), std::string::npos);

    const CodePage utf8("UTF-8");
    const AlignTextCodec viaIconv{utf8};
    EXPECT_TRUE(viaIconv.Decode("caf\xC3\xA9\r\n").ok);
    const AlignTextCodec::Decoded broken = viaIconv.Decode("caf\xE9");
    EXPECT_FALSE(broken.ok);
    EXPECT_NE(broken.error.find("code page UTF-8"), std::string::npos);
    // U+2029 would become a line break in the editor.
    EXPECT_FALSE(viaIconv
                     .Decode("A\xE2\x80\xA9"
                             "B")
                     .ok);
}

TEST(AlignTextCodecTest, RefusesCharactersWithoutAByte) {
    const AlignTextCodec codec{CodePage("")};
    const AlignTextCodec::Encoded encoded = codec.Encode(u"ok\n\u20AC \u6F22", LineEnd::CrLf);
    EXPECT_FALSE(encoded.ok);
    EXPECT_TRUE(encoded.bytes.empty());
    EXPECT_NE(encoded.error.find("U+6F22 in line 2"), std::string::npos) << encoded.error;
    EXPECT_EQ(codec.Encode(u"\u20AC", LineEnd::CrLf).bytes, "\x80");
}

TEST_F(AlignFileTest, StoresAndLoadsBytesKeepingModeAndLinks) {
    const std::string path = Path("road.hal");
    const std::string bytes = EveryByteWithCrLf() + std::string(1, '\0');
    ASSERT_EQ(AlignFile::Store(path, bytes), "");
    const AlignFile::Loaded loaded = AlignFile::Load(path);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.bytes, bytes);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string link = Path("link.hal");
    std::filesystem::create_symlink(path, link);
    ASSERT_EQ(AlignFile::Store(link, "new"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.hal", "road.hal"}));
}

TEST_F(AlignFileTest, FailedStoresNameTheReasonAndLeaveNothingBehind) {
    WriteAll(Path("plain"), "keep");
    EXPECT_EQ(AlignFile::Store(Path("missing/x.hal"), "x"), "No such file or directory");
    EXPECT_EQ(AlignFile::Store(Path("plain/x.hal"), "x"), "Not a directory");
    EXPECT_EQ(AlignFile::Store(dir_.path().toStdString(), "x"), "Is a directory");
    // Refused even to root.
    EXPECT_EQ(AlignFile::Store("/sys/alignedit-test.hal", "x"), "Permission denied");
    EXPECT_EQ(AlignFile::Store("/dev/full", "x"), "No space left on device");
    EXPECT_EQ(ReadAll(Path("plain")), "keep");
    EXPECT_EQ(Entries(), std::vector<std::string>{"plain"});
}

// Where a new file cannot be made beside the old one, or renamed over it
// would part hard links or hand the file to another owner, it is written in
// place; only when that fails too is the reason reported.
TEST_F(AlignFileTest, WritesInPlaceWhereANewFileCannotOrMustNotReplaceIt) {
    const std::string road = Path("road.hal");
    const std::string twin = Path("twin.hal");
    WriteAll(road, "old");
    ASSERT_EQ(::link(road.c_str(), twin.c_str()), 0);
    ASSERT_EQ(AlignFile::Store(road, "new"), "");
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
    ASSERT_EQ(::chmod(dir_.path().toLocal8Bit().constData(), 0755), 0);
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

TEST_F(AlignFileTest, LoadRefusesMissingFoldersAndHugeFiles) {
    WriteAll(Path("plain"), "keep");
    EXPECT_EQ(AlignFile::Load(Path("none.hal")).error, "No such file or directory");
    EXPECT_EQ(AlignFile::Load(Path("plain/x.hal")).error, "Not a directory");
    EXPECT_EQ(AlignFile::Load(dir_.path().toStdString()).error, "Is a directory");
    std::filesystem::resize_file(Path("plain"), AlignFile::kMaxBytes + 1);
    const AlignFile::Loaded huge = AlignFile::Load(Path("plain"));
    EXPECT_FALSE(huge.ok);
    EXPECT_NE(huge.error.find("larger than 4 MB"), std::string::npos);
    // A device that never ends is cut off the same way.
    EXPECT_FALSE(AlignFile::Load("/dev/zero").ok);
    std::filesystem::resize_file(Path("plain"), AlignFile::kMaxBytes);
    EXPECT_TRUE(AlignFile::Load(Path("plain")).ok);
}

TEST(RecentFileListTest, KeepsFourNewestFirstAndPersists) {
    QTemporaryDir dir;
    RecentFileList list;
    for (const char* name : {"/a.hal", "/b.hal", "/c.hal", "/d.hal", "/b.hal", "/e.val"}) {
        list.Add(QString::fromLatin1(name));
    }
    EXPECT_EQ(list.Files(), (QStringList{"/e.val", "/b.hal", "/d.hal", "/c.hal"}));
    list.Remove(QStringLiteral("/d.hal"));
    QSettings settings(dir.filePath(QStringLiteral("alignedit.ini")), QSettings::IniFormat);
    list.Write(settings);
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(), "/e.val");
    EXPECT_FALSE(settings.contains(QStringLiteral("Recent File List/File4")));
    RecentFileList read;
    read.Read(settings);
    EXPECT_EQ(read.Files(), (QStringList{"/e.val", "/b.hal", "/c.hal"}));
}

TEST(AlignFileTypesTest, ChosenTypeGivesTheExtension) {
    EXPECT_EQ(AlignFileTypes::WithTypeSuffix(QStringLiteral("/t/x"), 0), "/t/x.hal");
    EXPECT_EQ(AlignFileTypes::WithTypeSuffix(QStringLiteral("/t/x"), 1), "/t/x.val");
    EXPECT_EQ(AlignFileTypes::WithTypeSuffix(QStringLiteral("/t/x.txt"), 1), "/t/x.txt");
    UntitledNames names;
    EXPECT_EQ(names.Next(), "AlignEd1");
    EXPECT_EQ(names.Next(), "AlignEd2");
}
