#pragma once

#include "drawexport/ExportSettings.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// drawexport without a window:
//   drawexport [options] IN... -o OUT
// Every file IN is read, the points of those that read whole go into OUT,
// in the format of OUT's extension or of --format. Standard output gets a
// line per input and one for the result; standard error one line per
// failure.
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
    };

    // nullopt, with error, for a usage error.
    static std::optional<Request> Parse(const std::vector<std::string>& args, std::string& error);

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

    static const char* Usage();

private:
    static int Export(const Request& request, std::ostream& out, std::ostream& err);
};
