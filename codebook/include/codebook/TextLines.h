#pragma once

#include <string>
#include <string_view>
#include <vector>

// A file's lines, whatever ends them (CR LF, LF or CR alone), with the end
// of its first line and whether the last one was ended, so that a writer
// can give the file back as it came.
struct TextLines {
    std::vector<std::string_view> lines;
    std::string lineEnd = "\r\n";
    bool finalLineEnd = true;

    static TextLines Split(std::string_view bytes);
};
