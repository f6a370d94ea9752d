// The PC-file reading of uploads over arbitrary file bytes: a file read is
// split into exactly its lines, and they go back to the same bytes in the
// wire code page; a refused file names its first long line and keeps none.
#include "FuzzCheck.h"
#include "platform/CodePage.h"
#include "protocol/ScriptBuilder.h"
#include "transfer/UploadFileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The file without the one CR that may stand before each LF: the lines
// joined with LF (the last one without, if the file had none) must give it.
std::string WithoutCrBeforeLf(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            out += bytes[i];
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CodePage& codePage = CodePage::Wire();
    const UploadFile file = UploadFileReader(codePage).FromBytes(bytes, "fuzz.txt");
    switch (file.status) {
    case UploadFile::Status::Empty:
        FuzzCheck(bytes.empty() && file.lines.empty(), "only a file without bytes is empty");
        return 0;
    case UploadFile::Status::LineTooLong:
        FuzzCheck(file.lines.empty() && file.longLine >= 1 && !file.error.empty(),
                  "a refused file keeps no line and names the long one");
        return 0;
    case UploadFile::Status::Unreadable:
        FuzzCheck(false, "bytes in memory are always readable");
        return 0;
    case UploadFile::Status::Read:
        break;
    }
    std::string joined;
    for (const std::u16string& line : file.lines) {
        const std::string back = codePage.ToAnsi(line);
        FuzzCheck(back.size() <= static_cast<std::size_t>(ScriptBuilder::kMaxLineBytes),
                  "every line fits the send buffer");
        joined += back;
        joined += '\n';
    }
    if (!bytes.ends_with('\n')) {
        joined.pop_back();
    }
    FuzzCheck(joined == WithoutCrBeforeLf(bytes), "the lines are the file's bytes");
    return 0;
}
