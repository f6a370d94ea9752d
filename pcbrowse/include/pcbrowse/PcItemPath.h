#pragma once

#include <span>
#include <string>

// One item of the PC tree on the way from an item up to its root, as far as
// its path is concerned. Volumes and the desktop root carry their own path;
// folders and files the name of their entry (the file system's bytes).
struct PathNode {
    enum class Kind { Computer, Volume, Desktop, Folder, File, Placeholder };
    Kind kind;
    std::string name;
};

// The paths of PC tree items. chain: the item first, then its parent, and so
// on up to its root. An empty chain has no path.
class PcItemPath {
public:
    // The folder the item stands for, with a final "/": a folder's own path,
    // a file's or a placeholder's folder, a volume's mount point, the
    // desktop path. Empty for "My Computer" (it is no folder).
    static std::string ItemFolderPath(std::span<const PathNode> chain);
    // The item's own path without a final "/" ("/" for the root volume):
    // a file's full path, a folder's path, a volume's mount point, the
    // desktop path. "My Computer" gives its label.
    static std::string ItemFullPath(std::span<const PathNode> chain);

    // The folder path for a path: "/" appended unless it already ends in one.
    static std::string WithFinalSlash(std::string path);
};
