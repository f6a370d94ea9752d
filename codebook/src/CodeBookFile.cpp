#include "codebook/CodeBookFile.h"

#include "codebook/BookDocument.h"
#include "codebook/CodeListFile.h"
#include "codebook/CsvCodes.h"
#include "platform/SafeFileStore.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

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
    switch (format) {
    case CodeFormat::Book:
        return BookDocument::Read(bytes);
    case CodeFormat::Csv:
        return CsvCodes::Read(bytes);
    default:
        return CodeListFile::Read(bytes, format);
    }
}

std::string CodeBookFile::Render(const CodeBook& book, CodeFormat format) {
    switch (format) {
    case CodeFormat::Book:
        return BookDocument::Write(book);
    case CodeFormat::Csv:
        return CsvCodes::Write(book);
    default:
        return CodeListFile::Write(book, format);
    }
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
