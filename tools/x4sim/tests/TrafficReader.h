#pragma once

#include <filesystem>
#include <string>

// A traffic log (x4sim's --log, or the suite's) read back: the bytes the PC
// sent and those the instrument sent, each in the order they went, however
// they were cut into bursts. Notes are skipped.
struct Traffic {
    std::string fromPc;
    std::string fromInstrument;

    static Traffic Read(const std::filesystem::path& log);
    // The bytes of one logged burst, its escapes undone.
    static std::string Unescaped(const std::string& text);
};
