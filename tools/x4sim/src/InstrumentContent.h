#pragma once

#include "ContentFiles.h"

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The instrument's memory: identification, its five lists and the data each
// item sends. Lists live in memory from the start and change with erases
// and uploads; data is read from the content files when asked for, unless
// an upload or an erase has replaced it during this run.
class InstrumentContent {
public:
    enum class Category { Job, Code, Format, Hal, Val };

    // One list line, split at every comma (empty fields kept): f0 is the
    // item's name, f1 the value the commands address it by.
    struct Entry {
        std::vector<std::string> fields;

        std::string Line() const; // the fields joined, with CR LF
        std::string Name() const { return Field(0); }
        std::string Id() const { return Field(1); }
        std::string Field(std::size_t index) const;
        void SetField(std::size_t index, std::string value);
    };

    explicit InstrumentContent(ContentFiles files);
    // Reads identity.txt and the five list files; false (and why) when the
    // identification is missing.
    bool Load(std::string& error);

    const std::string& Identity() const { return identity_; }
    std::vector<Entry>& List(Category category);
    Entry* Find(Category category, std::string_view id);
    const Entry* Find(Category category, std::string_view id) const;
    void Remove(Category category, std::string_view id);
    std::string NextId(Category category) const;

    // Data of an item part: `base` is the file path without extension
    // ("data/JOB/1/COORDS"); the file for `format` is used, else the one for
    // `fallback`. Lines are returned with CR LF.
    std::vector<std::string> Data(const std::string& base, const std::string& format,
                                  const std::string& fallback) const;
    // From now on the part holds these lines in this format only.
    void Replace(const std::string& base, const std::string& format,
                 std::vector<std::string> lines);
    void Erase(const std::string& base);

    // Splits text into lines ended by LF or CR LF; every line comes back
    // ended by CR LF, a last line without end included.
    static std::vector<std::string> Lines(std::string_view text);
    static const char* FileOf(Category category);

private:
    struct Stored {
        std::string format;
        std::vector<std::string> lines;
    };

    ContentFiles files_;
    std::string identity_;
    std::array<std::vector<Entry>, 5> lists_;
    std::map<std::string, Stored> replaced_;
};
