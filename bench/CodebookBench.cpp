// Opening, checking and saving codebooks of 1k, 10k and 100k codes, as the
// book document and as a GSI-16 code list; the same file read and written
// as plain bytes is the baseline of each row.
//
// usage: codebook_bench [FOLDER]   (default: the system's temporary folder)

#include "codebook/CodeBookFile.h"
#include "codebook/CodeListCheck.h"
#include "platform/SafeFileStore.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double Seconds(Work&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

CodeBook MakeBook(std::size_t codes) {
    CodeBook book;
    book.name = "BENCH";
    const char* symbols[] = {"circle", "cross", "square", "star"};
    for (std::size_t i = 0; i < codes; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "C%06zu", i + 1);
        book.codes.push_back({.code = code,
                              .description = "Feature " + std::to_string(i + 1),
                              .group = "Group " + std::to_string(i % 20),
                              .attributes = {{"TYPE", "A" + std::to_string(i % 7)}, {"SIZE", ""}},
                              .layer = "L" + std::to_string(i % 50),
                              .colour = "#336699",
                              .symbol = symbols[i % 4],
                              .line = i % 3 == 0});
    }
    return book;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    std::printf("%-7s %-6s %9s %9s %9s %9s %9s  %s\n", "codes", "format", "open s", "check s",
                "save s", "raw rd s", "raw wr s", "per code (open/check/save, us)");
    for (const std::size_t codes : {1000u, 10000u, 100000u}) {
        const CodeBook book = MakeBook(codes);
        for (const CodeFormat format : {CodeFormat::Book, CodeFormat::Gsi16}) {
            const std::string path =
                (folder / ("codebook-bench." + std::string(CodeFormats::Name(format)))).string();
            SafeFileStore::Replace(path, CodeBookFile::Render(book, format));
            CodeBookFile::Loaded loaded;
            const double open = Seconds([&] { loaded = CodeBookFile::Load(path); });
            std::size_t refusals = 0;
            const double check =
                Seconds([&] { refusals = CodeListCheck::Check(loaded.read->book, format).size(); });
            // Saving writes what the checks allow; past 9,999 codes a list is refused
            // as a whole, so the save is timed on the rendering and the store.
            const double save = Seconds([&] {
                SafeFileStore::Replace(path, CodeBookFile::Render(loaded.read->book, format));
            });
            std::string bytes;
            const double rawRead = Seconds([&] { bytes = ReadBytes(path); });
            const double rawWrite = Seconds([&] { SafeFileStore::Replace(path, bytes); });
            const double us = 1e6 / static_cast<double>(codes);
            std::printf("%-7zu %-6s %9.4f %9.4f %9.4f %9.4f %9.4f  %.2f / %.2f / %.2f%s\n", codes,
                        CodeFormats::Name(format), open, check, save, rawRead, rawWrite, open * us,
                        check * us, save * us,
                        refusals ? (" (" + std::to_string(refusals) + " refusal)").c_str() : "");
            std::filesystem::remove(path);
        }
    }
    return 0;
}
