#pragma once

#include <filesystem>
#include <string>

// Nothing half-written appears under an output's name: the file (with its
// side files, for a Shapefile) is written into a hidden folder beside it
// and moved into place only when complete. The folder goes with whatever
// is left in it when the object goes.
class StagedOutput {
public:
    explicit StagedOutput(std::filesystem::path output);
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // False, with error, when the output's folder takes no new files.
    bool Prepare(std::string& error);
    // Where the writer writes: the output's file name inside the hidden folder.
    std::string WritePath() const;
    // Moves every file of the hidden folder to the output's folder,
    // replacing files of the same names.
    bool Commit(std::string& error);

private:
    std::filesystem::path output_;
    std::filesystem::path stage_;
};
