#pragma once

#include "legacyxfer/LinePreset.h"

#include <map>
#include <string>
#include <vector>

// The presets a user keeps (the built-in ones, edited or not, and their
// own) and the preset last used on each port, in one text file.
class PresetBook {
public:
    explicit PresetBook(std::string path);

    // The file of this user: $XDG_CONFIG_HOME (or ~/.config)/stationlink/legacyxfer.presets.
    static std::string DefaultPath();

    // Reads the file; a missing file is an empty book. Lines that cannot
    // be read are skipped and named in `skipped`.
    void Load(std::vector<std::string>& skipped);
    // Empty on success, else why the file could not be written.
    std::string Save() const;

    // Built-in presets first (a kept preset of the same name replaces one),
    // then the user's own in the order they were added.
    std::vector<LinePreset> All() const;
    const LinePreset* Find(const std::string& name) const;
    void Keep(const LinePreset& preset);
    // Only the user's own presets and edits go; a built-in one returns to
    // its shipped settings.
    void Remove(const std::string& name);

    std::string LastFor(const std::string& port) const;
    void SetLastFor(const std::string& port, const std::string& name);

private:
    std::string path_;
    std::vector<LinePreset> kept_;
    std::map<std::string, std::string> last_;
    mutable std::vector<LinePreset> all_;
};
