#include "coordbook/BookFile.h"

#include "fielddata/LineList.h"
#include "platform/SafeFileStore.h"

#include <filesystem>

BookOutput BookFile::Render(const PointBook& book, const std::string& path, BookFormat format) {
    return BookWriter(format, std::filesystem::path(path).stem().string(), BookWriter::Today())
        .Write(book);
}

std::string BookFile::Store(const std::string& path, const BookOutput& output) {
    return SafeFileStore::Replace(path, output.bytes);
}

std::string BookFile::LeftOutNote(const BookOutput& output, BookFormat format) {
    const std::size_t count = output.leftOut.size();
    if (count == 0) {
        return {};
    }
    return std::to_string(count) + (count == 1 ? " line" : " lines") + " without a point " +
           (count == 1 ? "is" : "are") + " not written to a " + BookFormats::Title(format) +
           LineList::Text(output.leftOut);
}
