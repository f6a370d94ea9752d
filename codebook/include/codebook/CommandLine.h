#pragma once

#include "codebook/CodeFormat.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace codebook {

// codebook from a terminal: --convert IN OUT [--format NAME] [--overwrite].
class CommandLine {
public:
    struct Request {
        std::string input;
        std::string output;
        std::optional<CodeFormat> format; // nullopt: from the output's extension or the input
        bool overwrite = false;
        bool help = false;
    };

    static const char* Usage();
    static std::optional<Request> Parse(const std::vector<std::string>& args, std::string& error);
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    static int Convert(const Request& request, std::ostream& out, std::ostream& err);
};

} // namespace codebook
