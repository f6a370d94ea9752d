#include "platform/CommandStart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

// The order every converting command line shares: the usage when asked for
// it even under a broken code page, the code page before a usage error
// (nothing may be read in the wrong one), the usage text after an error.
TEST(CommandStart, HelpThenCodePageThenUsageError) {
    const std::string error = "unknown option --frob";
    struct Case {
        const char* codePage; // null: not set
        bool help;
        const std::string* error;
        std::optional<int> status;
        std::string out;
        std::string err;
    };
    const std::string unknown =
        "tool: STATIONLINK_CODEPAGE names the code page \"XYZ-99\", which this system does "
        "not know\n";
    const Case cases[] = {
        {nullptr, false, nullptr, std::nullopt, "", ""},
        {nullptr, true, &error, 0, "USAGE\n", ""},
        {"XYZ-99", true, nullptr, 0, "USAGE\n", ""},
        {"XYZ-99", false, &error, 2, "", unknown},
        {"XYZ-99", false, nullptr, 2, "", unknown},
        {nullptr, false, &error, 2, "", "tool: unknown option --frob\nUSAGE\n"},
    };
    for (const Case& c : cases) {
        if (c.codePage != nullptr) {
            ::setenv("STATIONLINK_CODEPAGE", c.codePage, 1);
        }
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(CommandStart::Check("tool", c.help, c.error, "USAGE\n", out, err), c.status);
        ::unsetenv("STATIONLINK_CODEPAGE");
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
    }
}

} // namespace
