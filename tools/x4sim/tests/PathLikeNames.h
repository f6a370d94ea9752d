#pragma once

#include <filesystem>
#include <string>
#include <vector>

// x4sim content whose job, code-list and alignment names try to lead out of
// the download folder: "../", "/", "\", a leading "." and control bytes.
class PathLikeNames {
public:
    struct Item {
        std::string category; // JOB, COD, HAL, VAL
        std::string number;   // the entry's number in its list
        std::string listLine; // as the instrument lists it, without its line end
        std::string label;    // the entry's label in the instrument tree
        std::string file;     // the file a download with the offered name writes
        std::string data;     // what that file holds (the data line with CR LF)
    };

    // Writes the content into a fresh scratch folder and returns it.
    static std::filesystem::path Write(const std::string& name);
    // The entries, one per category at least; jobs are taken as "COORDS" in GSI.
    static const std::vector<Item>& Items();
};
