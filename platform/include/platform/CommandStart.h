#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// The first steps of a command line that reads or writes names in the wire
// code page, in the same order for every program of the suite: the usage
// when it was asked for (that needs nothing else), then the code page
// (without it every name would be read wrong, so nothing may be written),
// then a usage error with the usage text.
class CommandStart {
public:
    // The exit statuses of every command line of the suite.
    static constexpr int kExitDone = 0;
    static constexpr int kExitFailed = 1; // the work failed: a file, the port, the instrument
    static constexpr int kExitUsage = 2;

    // `error` is null when the arguments were understood. The status to
    // exit with, or nullopt when the program goes on with its work.
    static std::optional<int> Check(std::string_view program, bool help, const std::string* error,
                                    std::string_view usage, std::ostream& out, std::ostream& err);
};
