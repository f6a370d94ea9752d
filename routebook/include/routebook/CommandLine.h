#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace routebook {

// routebook from a terminal:
//   --stations HAL [VAL] --interval D [--offsets L,R] -o OUT.csv|OUT.gsi
//   --convert IN OUT
// both with --overwrite to replace an existing OUT.
class CommandLine {
public:
    struct Request {
        enum class Mode { Stations, Convert, Help } mode = Mode::Help;
        std::vector<std::string> inputs; // HAL [VAL], or IN
        std::string output;
        double interval = 0;
        double left = 0;
        double right = 0;
        bool overwrite = false;
    };

    static const char* Usage();
    static std::optional<Request> Parse(const std::vector<std::string>& args, std::string& error);
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    static int Stations(const Request& request, std::ostream& err);
    static int Convert(const Request& request, std::ostream& err);
};

} // namespace routebook
