#include "ProcessCounters.h"

#include <dirent.h>
#include <fstream>
#include <sstream>

long ProcessCounters::StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0) {
            std::istringstream value(line.substr(key.size() + 1));
            long kb = -1;
            value >> kb;
            return kb;
        }
    }
    return -1;
}

int ProcessCounters::Threads() {
    return Entries("/proc/self/task");
}

int ProcessCounters::Descriptors() {
    // opendir holds one descriptor of its own while it reads.
    return Entries("/proc/self/fd") - 1;
}

int ProcessCounters::Entries(const char* folder) {
    DIR* dir = ::opendir(folder);
    if (dir == nullptr) {
        return -1;
    }
    int count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') {
            ++count;
        }
    }
    ::closedir(dir);
    return count;
}
