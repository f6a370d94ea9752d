#include "PathLikeNames.h"

#include "TestFiles.h"

#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Where x4sim keeps the data of an entry, and the list it is named in.
fs::path DataFile(const PathLikeNames::Item& item) {
    if (item.category == "JOB") {
        return fs::path("data/JOB") / item.number / "COORDS.GSI";
    }
    return fs::path("data") / item.category /
           (item.number + (item.category == "COD" ? ".GSI" : ".txt"));
}

const std::map<std::string, std::string> kListFile = {
    {"JOB", "jobs.txt"}, {"COD", "codes.txt"}, {"HAL", "hal.txt"}, {"VAL", "val.txt"}};

} // namespace

const std::vector<PathLikeNames::Item>& PathLikeNames::Items() {
    // One data line each: jobs list it as a fixed point (f2), the others
    // as their count (f2).
    static const std::vector<Item> items = {
        {"JOB", "1", "IN:../../escaped,1,1,0", "JobList:1 [IN:../../escaped]", "_.._.._escaped.gsi",
         "*110001+0000000000000P1 \r\n"},
        {"JOB", "2", "IN:.hidden,2,1,0", "JobList:2 [IN:.hidden]", "_.hidden.gsi",
         "*110001+0000000000000P2 \r\n"},
        {"COD", "1", "sub/dir\\x,1,1", "CodeBook:1", "sub_dir_x.crf", "CODE1\r\n"},
        {"HAL", "1",
         "\x01"
         "ctl\x1b,1,1",
         "HalList:1", "_ctl_.hal", "HAL LINE\r\n"},
        {"VAL", "1", "..,1,1", "ValList:1", "_...val", "VAL LINE\r\n"},
    };
    return items;
}

fs::path PathLikeNames::Write(const std::string& name) {
    const fs::path dir = FreshTempDir(name);
    WriteFile(dir / "identity.txt", "13....+000000000X4 1207\n");
    WriteFile(dir / "formats.txt", "GSI,0,GSI-16 blocks\n");
    std::map<std::string, std::string> lists;
    for (const Item& item : Items()) {
        lists[kListFile.at(item.category)] += item.listLine + "\n";
    }
    for (const auto& [file, lines] : lists) {
        WriteFile(dir / file, lines);
    }
    for (const Item& item : Items()) {
        WriteFile(dir / DataFile(item), item.data);
    }
    return dir;
}
