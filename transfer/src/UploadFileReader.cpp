#include "transfer/UploadFileReader.h"

#include "platform/CodePage.h"
#include "protocol/ScriptBuilder.h"
#include "transfer/LocalPath.h"
#include "transfer/WholeFile.h"

namespace {

// The line before the first LF without a CR that ends it; a last line
// without LF is taken as it stands.
std::string_view FirstLine(std::string_view bytes, std::size_t lf) {
    if (lf == std::string_view::npos) {
        return bytes;
    }
    std::string_view line = bytes.substr(0, lf);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

UploadFileReader::UploadFileReader(const CodePage& codePage) : codePage_(codePage) {}

UploadFile UploadFileReader::Read(std::u16string_view pcPath) const {
    return ReadLocal(LocalPath::FromWide(pcPath));
}

UploadFile UploadFileReader::ReadLocal(const std::string& path) const {
    UploadFile file;
    std::string bytes;
    if (!WholeFile::Read(path, bytes, file.error)) {
        file.status = UploadFile::Status::Unreadable;
        return file;
    }
    return FromBytes(bytes, path);
}

UploadFile UploadFileReader::FromBytes(std::string_view bytes, const std::string& path) const {
    UploadFile file;
    if (bytes.empty()) {
        file.status = UploadFile::Status::Empty;
        return file;
    }
    if (!SplitLines(bytes, file)) {
        file.status = UploadFile::Status::LineTooLong;
        file.error = "Line " + std::to_string(file.longLine) + " of \"" + path +
                     "\" is longer than " + std::to_string(ScriptBuilder::kMaxLineBytes) +
                     " bytes, which the instrument cannot take; nothing was sent.";
        file.lines.clear();
        return file;
    }
    file.status = UploadFile::Status::Read;
    return file;
}

// False at the first line that does not fit; file.longLine then names it.
bool UploadFileReader::SplitLines(std::string_view bytes, UploadFile& file) const {
    constexpr auto kLimit = static_cast<std::size_t>(ScriptBuilder::kMaxLineBytes);
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        const std::string_view line = FirstLine(bytes, lf);
        if (line.size() > kLimit) {
            file.longLine = file.lines.size() + 1;
            return false;
        }
        file.lines.push_back(codePage_.ToWide(line));
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    }
    return true;
}
