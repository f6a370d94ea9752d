#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Paths relative to the folder; parents must exist.
    void MakeFolder(const std::string& relative) const;
    void MakeFile(const std::string& relative) const;
    void MakeLink(const std::string& target, const std::string& relative) const;

private:
    std::string path_;
};
