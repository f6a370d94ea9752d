#pragma once

#include "drawexport/ExportSettings.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace drawexport {

// drawexport without a window:
//   drawexport [options] IN... -o OUT
// Every file IN is read, the points of those that can be opened go into
// OUT, in the format of OUT's extension or of --format. Lines that cannot
// be read are named and passed over (with --strict they fail the export).
// An existing OUT is replaced only with --overwrite. Standard output gets
// a line per input and one for the result; standard error one line per
// failure and per line passed over.
class CommandLine {
public:
    enum ExitCode : int {
        kExitDone = 0,
        kExitFailed = 1, // an input or the output failed; the other inputs were exported
        kExitUsage = 2,
    };

    struct Request {
        std::vector<std::string> inputs;
        std::string output;
        ExportSettings settings;
        std::string codebook;   // the codebook's path; empty: none
        bool strict = false;    // a line that cannot be read fails the export
        bool overwrite = false; // an existing output may be replaced
    };

    // nullopt, with error, for a usage error.
    static std::optional<Request> Parse(const std::vector<std::string>& args, std::string& error);

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

    static const char* Usage();

private:
    static int Export(const Request& request, std::ostream& out, std::ostream& err);
};

} // namespace drawexport
