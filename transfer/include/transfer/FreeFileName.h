#pragma once

#include <string>

// Where a download goes when the user keeps an existing file of its name:
// "BRIDGE.gsi" becomes "BRIDGE (2).gsi", or "(3)" and so on, the first that
// no file (and no partial file) in the folder has yet.
class FreeFileName {
public:
    // path: UTF-8, as the file system takes it.
    static std::string Beside(const std::string& path);
};
