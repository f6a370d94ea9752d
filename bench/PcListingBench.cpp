// Listing a big folder in the PC tree. A temporary folder gets FILES empty
// files (and a few sub-folders); the floor is a bare readdir() loop over the
// same folder in the same run. Then the widget-free listing (type checks,
// filter, natural sort) and the tree's whole expansion (items, icons, layout
// and one paint of the view, offscreen) are timed. Medians of several rounds,
// with the file system's cache warm.
// Usage: pc_listing_bench [FILES]   (default 20000)

#include "pcbrowse/FolderListing.h"
#include "workbench/CRightView.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 7;
constexpr int kFolders = 20;

// The median time of kRounds runs, in milliseconds.
double MedianMs(const std::function<void()>& run) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const auto middle = times.begin() + kRounds / 2;
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

bool MakeFolder(const std::string& folder, int files) {
    char name[64];
    for (int i = 0; i < kFolders; ++i) {
        std::snprintf(name, sizeof name, "/folder%02d", i);
        if (mkdir((folder + name).c_str(), 0755) != 0) {
            return false;
        }
    }
    // Mixed case and suffixes, as a surveyor's export folder has them.
    static const char* const kSuffixes[] = {".gsi", ".GSI", ".idex", ".hal", ".txt"};
    for (int i = 0; i < files; ++i) {
        std::snprintf(name, sizeof name, "/Job%d%s", i, kSuffixes[i % 5]);
        const int fd = open((folder + name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            return false;
        }
        close(fd);
    }
    return true;
}

std::size_t BareReaddir(const std::string& folder) {
    std::size_t count = 0;
    DIR* dir = opendir(folder.c_str());
    while (dir != nullptr && readdir(dir) != nullptr) {
        ++count;
    }
    if (dir != nullptr) {
        closedir(dir);
    }
    return count;
}

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir temp;
    const std::string folder = temp.path().toStdString();
    if (!temp.isValid() || files <= 0 || !MakeFolder(folder, files)) {
        std::fprintf(stderr, "cannot make a folder of %d files\n", files);
        return 1;
    }

    std::size_t entries = 0;
    const double readdirMs = MedianMs([&] { entries = BareReaddir(folder); });
    std::size_t listed = 0;
    const double listingMs =
        MedianMs([&] { listed = FolderListing::Read(folder, NameFilter()).files.size(); });
    std::size_t matched = 0;
    const double filteredMs =
        MedianMs([&] { matched = FolderListing::Read(folder, NameFilter("*.GSI")).files.size(); });

    CRightView tree(nullptr, PcPlaces{temp.path(), [folder] { return std::vector{folder}; }});
    tree.resize(600, 800);
    tree.show();
    tree.OnInitialUpdate();
    QTreeWidgetItem* volume = tree.MyComputerItem()->child(0);
    int rows = 0;
    const double treeMs = MedianMs([&] {
        tree.collapseItem(volume);
        tree.expandItem(volume);
        tree.viewport()->repaint();
        rows = volume->childCount();
    });

    std::printf("folder of %d files and %d folders (%zu entries with . and ..)\n", files, kFolders,
                entries);
    std::printf("bare readdir (floor)         %8.2f ms\n", readdirMs);
    std::printf("FolderListing, *.*           %8.2f ms  %6.1f x floor  (%zu files)\n", listingMs,
                listingMs / readdirMs, listed);
    std::printf("FolderListing, *.GSI         %8.2f ms  %6.1f x floor  (%zu files)\n", filteredMs,
                filteredMs / readdirMs, matched);
    std::printf("CRightView expand and paint  %8.2f ms  %6.1f x floor  (%d rows)\n", treeMs,
                treeMs / readdirMs, rows);
    return 0;
}
