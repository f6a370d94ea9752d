// codebook --convert: exit statuses, and a refused list leaves its output
// as it was.

#include "codebook/CommandLine.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr const char* kList = "*410001+000000000000TREE 42....+0000000000000001 \r\n"
                              "*410002+00000000000FENCE \r\n";

TEST(CodebookCommandLine, ConvertsRefusesAndReportsUsage) {
    const struct {
        const char* name;
        std::string input; // written to in.crf
        std::vector<std::string> args;
        int status;
        std::string output;  // out's bytes afterwards ("old" when untouched)
        std::string message; // part of standard error
    } cases[] = {
        {"same list back", kList, {"--convert", "in.crf", "new.crf"}, 0, kList, ""},
        {"GSI-8",
         kList,
         {"--convert", "in.crf", "new.gsi", "--format", "gsi8"},
         0,
         "410001+0000TREE 42....+00000001 \r\n410002+000FENCE \r\n",
         ""},
        {"existing output", kList, {"--convert", "in.crf", "out.crf"}, 1, "old", "--overwrite"},
        {"too long for GSI-8",
         "*410001+0000000HEDGEROW1 \r\n",
         {"--convert", "in.crf", "out.crf", "--format=gsi8", "--overwrite"},
         1,
         "old",
         "HEDGEROW1: the code \"HEDGEROW1\" is longer than 8"},
        {"duplicate",
         "*410001+000000000000TREE \r\n*410002+000000000000TREE \r\n",
         {"--convert", "in.crf", "out.crf", "--overwrite"},
         1,
         "old",
         "TREE: duplicate code"},
        {"unreadable line",
         "*410001+000000000000TREE \r\nrubbish\r\n",
         {"--convert", "in.crf", "out.crf", "--overwrite"},
         1,
         "old",
         "in.crf:2:"},
        {"no such input", "", {"--convert", "missing.crf", "new.csv"}, 1, "", "missing.crf"},
        {"unknown format",
         kList,
         {"--convert", "in.crf", "out.crf", "--format", "dxf"},
         2,
         "old",
         "unknown format"},
        {"no format", kList, {"--convert", "in.crf", "out.txt"}, 2, "", "--format"},
        {"one file", kList, {"--convert", "in.crf"}, 2, "", "input and an output"},
    };
    for (const auto& test : cases) {
        TempFolder folder;
        folder.WriteFile("in.crf", test.input);
        folder.WriteFile("out.crf", "old");
        std::vector<std::string> args;
        std::string outName;
        for (const std::string& arg : test.args) {
            const bool file = arg.find('.') != std::string::npos && !arg.starts_with('-');
            args.push_back(file ? folder.Path(arg) : arg);
            if (file && args.size() > 2) {
                outName = arg;
            }
        }
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(codebook::CommandLine().Run(args, out, err), test.status) << test.name;
        EXPECT_NE(err.str().find(test.message), std::string::npos)
            << test.name << ": " << err.str();
        if (!test.output.empty()) {
            EXPECT_EQ(folder.ReadFile(outName), test.output) << test.name;
        }
    }
}

} // namespace
