#pragma once

#include "coordbook/BookFormat.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace coordbook {

// coordbook from a terminal: --convert IN OUT [--format gsi16|gsi8|dat]
// [--strict] [--overwrite]. Lines of IN that cannot be read are named and
// left out of any other format (with --strict nothing is written); an
// existing OUT is kept unless --overwrite is given.
class CommandLine {
public:
    struct Request {
        std::string input;
        std::string output;
        BookFormat format = BookFormat::Gsi16; // from --format or the output's extension
        bool help = false;                     // --help: the usage and nothing else
        bool strict = false;                   // a line that cannot be read fails the file
        bool overwrite = false;                // an existing OUT may be replaced
    };

    static const char* Usage();
    static std::optional<Request> Parse(const std::vector<std::string>& args, std::string& error);

    // Exit status: 0 done, 1 a file failed or held no point (nothing
    // written), 2 usage.
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    static int Convert(const Request& request, std::ostream& out, std::ostream& err);
};

} // namespace coordbook
