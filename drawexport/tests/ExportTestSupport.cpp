#include "ExportTestSupport.h"

#include "drawexport/CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

CommandRun RunDrawexport(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CommandRun run;
    run.status = drawexport::CommandLine().Run(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
