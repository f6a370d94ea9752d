#include "drawexport/StagedOutput.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

StagedOutput::StagedOutput(fs::path output) : output_(std::move(output)) {}

StagedOutput::~StagedOutput() {
    if (!stage_.empty()) {
        std::error_code ignored;
        fs::remove_all(stage_, ignored);
    }
}

bool StagedOutput::Prepare(std::string& error) {
    const fs::path folder = output_.parent_path().empty() ? fs::path(".") : output_.parent_path();
    std::string pattern = (folder / ".drawexport-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = "cannot write into the folder \"" + folder.string() + "\": " + std::strerror(errno);
        return false;
    }
    stage_ = pattern;
    return true;
}

std::string StagedOutput::WritePath() const {
    return (stage_ / output_.filename()).string();
}

bool StagedOutput::Commit(std::string& error) {
    std::error_code failure;
    for (const auto& entry : fs::directory_iterator(stage_, failure)) {
        const fs::path target = output_.parent_path() / entry.path().filename();
        fs::rename(entry.path(), target, failure);
        if (failure) {
            error = "cannot put \"" + target.string() + "\" in place: " + failure.message();
            return false;
        }
    }
    if (failure) {
        error = "cannot list the written files: " + failure.message();
        return false;
    }
    return true;
}
