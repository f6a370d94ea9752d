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

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class AlignFileTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
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

TEST_F(AlignFileTest, LoadsEveryByteAndRefusesMissingFoldersAndHugeFiles) {
    const std::string bytes = EveryByteWithCrLf() + std::string(1, '\0');
    WriteAll(Path("road.hal"), bytes);
    const AlignFile::Loaded loaded = AlignFile::Load(Path("road.hal"));
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.bytes, bytes);
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
