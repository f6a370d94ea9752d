#include "codebook/CodeBookFile.h"

#include "codebook/BookDocument.h"
#include "codebook/CodeListFile.h"
#include "codebook/CsvCodes.h"
#include "platform/SafeFileStore.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

// The reader and writer of one format, so reading and writing cannot
// disagree about which format is which.
struct Codec {
    std::function<CodeBookRead(std::string_view)> read;
    std::function<std::string(const CodeBook&)> write;
};

Codec CodecOf(CodeFormat format) {
    switch (format) {
    case CodeFormat::Book:
        return {&BookDocument::Read, &BookDocument::Write};
    case CodeFormat::Csv:
        return {&CsvCodes::Read, &CsvCodes::Write};
    default:
        return {[format](std::string_view bytes) { return CodeListFile::Read(bytes, format); },
                [format](const CodeBook& book) { return CodeListFile::Write(book, format); }};
    }
}

} // namespace

CodeBookFile::Loaded CodeBookFile::Load(const std::string& path) {
    Loaded loaded;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        loaded.error = std::strerror(errno);
        return loaded;
    }
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        loaded.error = "cannot be read";
        return loaded;
    }
    loaded.format = CodeFormats::Sniff(content);
    loaded.read = Parse(content, loaded.format);
    return loaded;
}

CodeBookRead CodeBookFile::Parse(std::string_view bytes, CodeFormat format) {
    return CodecOf(format).read(bytes);
}

std::string CodeBookFile::Render(const CodeBook& book, CodeFormat format) {
    return CodecOf(format).write(book);
}

CodeBookFile::Saved CodeBookFile::Save(const std::string& path, const CodeBook& book,
                                       CodeFormat format) {
    Saved saved;
    saved.refusals = CodeListCheck::Check(book, format);
    if (saved.refusals.empty()) {
        saved.error = SafeFileStore::Replace(path, Render(book, format));
    }
    return saved;
}
