#include "TempFolder.h"

#include "platform/CodePage.h"
#include "protocol/ScriptBuilder.h"
#include "transfer/UploadFileReader.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using Lines = std::vector<std::u16string>;

class UploadFileReaderTest : public ::testing::Test {
protected:
    CodePage cp1252{"CP1252"};
    UploadFileReader reader{cp1252};
    TempFolder folder;

    UploadFile ReadText(std::string_view bytes) {
        folder.WriteFile("up.txt", bytes);
        return reader.ReadLocal(folder.Path("up.txt"));
    }
};

TEST_F(UploadFileReaderTest, EveryLineEndingGivesTheSameLines) {
    for (const char* text : {"A\r\n\r\nB\r\n", "A\n\nB\n", "A\r\n\nB", "A\n\r\nB"}) {
        const UploadFile file = ReadText(text);
        EXPECT_EQ(file.status, UploadFile::Status::Read) << text;
        EXPECT_EQ(file.lines, (Lines{u"A", u"", u"B"})) << text;
    }
    EXPECT_EQ(ReadText("\n").lines, Lines{u""});
    EXPECT_EQ(ReadText("\n\n").lines, (Lines{u"", u""}));
    // A CR that ends no line is data.
    EXPECT_EQ(ReadText("A\rB\r\nC\r").lines, (Lines{u"A\rB", u"C\r"}));
}

TEST_F(UploadFileReaderTest, HighBytesComeBackUnchangedThroughTheWireCodePage) {
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    const UploadFile file = ReadText(high + "\r\nx");
    ASSERT_EQ(file.lines.size(), 2u);
    EXPECT_EQ(file.lines[0][0], u'\u20AC');
    EXPECT_EQ(cp1252.ToAnsi(file.lines[0]), high);
}

TEST_F(UploadFileReaderTest, EmptyFileHasNoLine) {
    const UploadFile file = ReadText("");
    EXPECT_EQ(file.status, UploadFile::Status::Empty);
    EXPECT_TRUE(file.Ok());
    EXPECT_TRUE(file.lines.empty());
}

TEST_F(UploadFileReaderTest, LineLongerThanTheSendBufferRefusesTheFile) {
    const std::string fits(ScriptBuilder::kMaxLineBytes, 'x');
    EXPECT_EQ(ReadText(fits + "\r\n" + fits).status, UploadFile::Status::Read);

    const UploadFile file = ReadText("a\r\n\r\n" + fits + "y\r\nb\r\n");
    EXPECT_EQ(file.status, UploadFile::Status::LineTooLong);
    EXPECT_FALSE(file.Ok());
    EXPECT_EQ(file.longLine, 3u);
    EXPECT_TRUE(file.lines.empty());
    EXPECT_NE(file.error.find("Line 3 "), std::string::npos) << file.error;
    EXPECT_NE(file.error.find(folder.Path("up.txt")), std::string::npos) << file.error;
}

// The fuzz target reads through FromBytes: it must be the file reading
// without the file.
TEST_F(UploadFileReaderTest, BytesInMemoryAreReadAsTheirFileWouldBe) {
    const std::string tooLong(ScriptBuilder::kMaxLineBytes + 1, 'x');
    for (const std::string& text : {std::string("A\r\n\nB"), std::string(), "a\n" + tooLong}) {
        const UploadFile inFile = ReadText(text);
        const UploadFile inMemory = reader.FromBytes(text, "memory.txt");
        EXPECT_EQ(inMemory.status, inFile.status);
        EXPECT_EQ(inMemory.lines, inFile.lines);
        EXPECT_EQ(inMemory.longLine, inFile.longLine);
    }
    const UploadFile refused = reader.FromBytes(tooLong, "memory.txt");
    EXPECT_NE(refused.error.find("\"memory.txt\""), std::string::npos) << refused.error;
}

TEST_F(UploadFileReaderTest, WhatIsNotAReadableFileIsRefusedWithItsReason) {
    folder.WriteFile("plain", "x");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {folder.Path("missing.txt"), "No such file or directory"},
        {folder.Path("plain/up.txt"), "Not a directory"},
        {folder.Path(""), "it is a folder"},
        {"/dev/null", "it is not a regular file"},
        {"", "no usable file name"},
    };
    for (const auto& [path, reason] : cases) {
        const UploadFile file = reader.ReadLocal(path);
        EXPECT_EQ(file.status, UploadFile::Status::Unreadable) << path;
        EXPECT_NE(file.error.find("\"" + path + "\""), std::string::npos) << file.error;
        EXPECT_NE(file.error.find(reason), std::string::npos) << file.error;
    }
}

TEST_F(UploadFileReaderTest, ForbiddenFileIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    folder.WriteFile("secret.txt", "x\r\n");
    ASSERT_EQ(::chmod(folder.Path("secret.txt").c_str(), 0), 0);
    const UploadFile file = reader.ReadLocal(folder.Path("secret.txt"));
    EXPECT_EQ(file.status, UploadFile::Status::Unreadable);
    EXPECT_NE(file.error.find("Permission denied"), std::string::npos) << file.error;
}

TEST_F(UploadFileReaderTest, WidePathIsTheUtf8FileName) {
    folder.WriteFile("\xC3\xA9t\xC3\xA9.val", "1\r\n2\r\n");
    const std::string base = folder.Path("");
    const UploadFile file =
        reader.Read(std::u16string(base.begin(), base.end()) + u"\u00E9t\u00E9.val");
    EXPECT_EQ(file.lines, (Lines{u"1", u"2"}));
}

} // namespace
