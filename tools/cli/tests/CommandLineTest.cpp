#include "CommandLine.h"
#include "CliArguments.h"
#include "ExitCode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = stationlinkcli::CommandLine().Run(args, out, err);
    return {status, out.str(), err.str()};
}

const stationlinkcli::CommandSyntax kDownload{"download", "", 3, {"--to", "--name", "--baud"},
                                              {},         {}};

} // namespace

TEST(CliArguments, SplitsArgumentsFromOptionsInBothSpellings) {
    std::string error;
    const auto args = stationlinkcli::CliArguments::Parse(
        kDownload, {"COM1", "--to", "/tmp/out", "JOB", "--baud=9600", "JobList:7 [SITE1]"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->Arguments(), (std::vector<std::string>{"COM1", "JOB", "JobList:7 [SITE1]"}));
    EXPECT_EQ(args->Option("--to"), "/tmp/out");
    EXPECT_EQ(args->Option("--baud"), "9600");
    EXPECT_EQ(args->Option("--name"), std::nullopt);
    EXPECT_EQ(args->OptionOr("--name", "x"), "x");
}

TEST(CliArguments, RefusesUnknownOptionsMissingValuesAndWrongCounts) {
    std::string error;
    EXPECT_FALSE(
        stationlinkcli::CliArguments::Parse(kDownload, {"A", "B", "C", "--part", "X"}, error));
    EXPECT_EQ(error, "download: unknown option --part");
    EXPECT_FALSE(stationlinkcli::CliArguments::Parse(kDownload, {"A", "B", "C", "--to"}, error));
    EXPECT_EQ(error, "download: --to needs a value");
    EXPECT_FALSE(stationlinkcli::CliArguments::Parse(kDownload, {"A", "B"}, error));
    EXPECT_EQ(error, "download: expected 3 argument(s), got 2");
}

TEST(CommandLine, UsageErrorsExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"bogus"},
             {"ports", "extra"},
             {"ports", "--baud", "1200"},
             // Refused before any port is opened: COM9 does not even exist.
             {"erase", "COM9", "JOB", "SITE03", "--part", "FOO"},
             {"download", "COM9", "JOB", "SITE03", "--to", "/tmp", "--part", "coords"},
             {"list", "COM9", "--timeout", "soon"}}) {
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, kExitUsage);
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_EQ(outcome.err.rfind("stationlink-cli: ", 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find("usage:"), std::string::npos) << outcome.err;
    }
    const Outcome help = RunCli({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    EXPECT_NE(help.out.find("stationlink-cli ports"), std::string::npos);
}

TEST(PortsCommand, PrintsNameDeviceAndDescriptionPerPort) {
    ::setenv("STATIONLINK_PORTS", "COM7=/dev/null;LPT1=/dev/zero;com3=/nonexistent-x4-port", 1);
    const Outcome outcome = RunCli({"ports"});
    ::unsetenv("STATIONLINK_PORTS");
    EXPECT_EQ(outcome.status, kExitDone);
    EXPECT_EQ(outcome.out, "COM7\t/dev/null\tnot a serial device\n"
                           "COM3\t/nonexistent-x4-port\tnot present\n");
    EXPECT_TRUE(outcome.err.empty());
}

TEST(CommandLine, UnknownCodePageIsNamedBeforeAnyWork) {
    ::setenv("STATIONLINK_CODEPAGE", "NO-SUCH-PAGE", 1);
    const Outcome unknown = RunCli({"ports"});
    ::setenv("STATIONLINK_CODEPAGE", "GBK", 1);
    const Outcome known = RunCli({"ports"});
    ::unsetenv("STATIONLINK_CODEPAGE");
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_EQ(unknown.err, "stationlink-cli: STATIONLINK_CODEPAGE names the code page "
                           "\"NO-SUCH-PAGE\", which this system does not know\n");
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_EQ(known.status, kExitDone) << known.err;
}
