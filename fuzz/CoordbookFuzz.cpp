// coordbook's reading, editing and writing of coordinate files over
// arbitrary bytes: the first byte picks a point file or a GSI job and the
// edit, the rest is the file. A file that can be read is written back in
// its own format byte for byte; writing it in every format and editing its
// first point never crash, and an edit that is taken is read back.
#include "FuzzCheck.h"
#include "coordbook/BookEdits.h"
#include "coordbook/BookLoader.h"
#include "coordbook/BookWriter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "coordbook-fuzz-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string(".");
    }();
    return folder;
}

std::unique_ptr<PointBook> Load(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return BookLoader::Load(path).book;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string path = Folder() + (data[0] % 2 == 0 ? "/in.gsi" : "/in.dat");
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    auto book = Load(path, bytes);
    if (!book) {
        return 0;
    }
    for (const BookFormat format : {BookFormat::Dat, BookFormat::Gsi8, BookFormat::Gsi16}) {
        const BookOutput output = BookWriter(format, "fuzz", "01012026").Write(*book);
        FuzzCheck(output.refusal.empty() || output.bytes.empty(), "a refused file writes nothing");
        if (format == book->Format()) {
            FuzzCheck(output.bytes == bytes, "a file written unchanged is the file read");
        }
    }
    if (book->Rows() == 0) {
        return 0;
    }
    const std::array<std::u16string, 4> texts = {u"N7", u"-0.00125", u"", u"1e5"};
    const auto column = static_cast<BookColumn>(data[0] / 2 % 5);
    std::string reason;
    auto records = BookEdits(*book).SetField(0, column, texts[data[0] / 10 % texts.size()], reason);
    FuzzCheck(records.has_value() || !reason.empty(), "a refused edit says why");
    if (!records || records->empty()) {
        return 0;
    }
    book->Swap(*records);
    const PointValues edited = book->ValuesOfRow(0);
    const BookOutput output = BookWriter(book->Format(), "fuzz", "01012026").Write(*book);
    FuzzCheck(output.refusal.empty(), "an edit that was taken can be written");
    const auto back = Load(path, output.bytes);
    FuzzCheck(back && back->Rows() == book->Rows() && back->ValuesOfRow(0) == edited,
              "an edit is read back as it was made");
    return 0;
}
