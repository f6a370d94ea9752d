#include "transfer/FreeFileName.h"

#include "transfer/DestinationFile.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string FreeFileName::Beside(const std::string& path) {
    const fs::path original(path);
    const std::string stem = original.stem().string();
    const std::string extension = original.extension().string();
    for (int n = 2;; ++n) {
        const fs::path candidate =
            original.parent_path() / (stem + " (" + std::to_string(n) + ")" + extension);
        std::error_code error;
        const std::string partial =
            candidate.string() + std::string(DestinationFile::kPartialSuffix);
        if (!fs::exists(fs::symlink_status(candidate, error)) &&
            !fs::exists(fs::symlink_status(partial, error))) {
            return candidate.string();
        }
    }
}
