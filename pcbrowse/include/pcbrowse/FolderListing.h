#pragma once

#include "pcbrowse/NameFilter.h"

#include <string>
#include <vector>

// What a folder holds, as the PC tree shows it: its sub-folders (never
// filtered) and then the files whose names match the filter, each group in
// the order a user expects (NaturalLess). Names are the file system's bytes.
// Hidden entries are listed like any other; a link counts as what it points
// to, and a broken link as a file.
struct FolderListing {
    // False when the folder could not be opened; error then holds errno.
    bool readable = false;
    int error = 0;
    std::vector<std::string> folders;
    std::vector<std::string> files;

    // folder: a path, with or without a final "/".
    static FolderListing Read(const std::string& folder, const NameFilter& filter);
};
