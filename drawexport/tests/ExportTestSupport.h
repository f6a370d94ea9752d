#pragma once

#include <string>
#include <vector>

// drawexport's command line run in this process.
struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

CommandRun RunDrawexport(const std::vector<std::string>& args);

// Files in a folder, by name, hidden ones included.
std::vector<std::string> FolderListing(const std::string& folder);
