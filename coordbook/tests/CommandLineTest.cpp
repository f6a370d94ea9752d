#include "BookSamples.h"

#include "coordbook/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

TEST(CoordbookCommandLine, ConvertsAndSaysWhatItLeftOutOrWhyNot) {
    TempFolder folder;
    folder.WriteFile("job.gsi", BookSamples::DemoJob());
    folder.WriteFile("bad.dat", "P1,1,2\r\nP2,1,,x\r\n");
    folder.WriteFile("wide.gsi", "*110001+0000000TOOLONG99 81..00+0000000000001000 "
                                 "82..00+0000000000001000 \r\n");
    folder.WriteFile("kept.gsi", "old");
    const std::string job = folder.Path("job.gsi");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err; // its first line
    };
    const Case cases[] = {
        {{"--convert", job, folder.Path("out.dat")},
         0,
         job + ": 12 points written to " + folder.Path("out.dat") +
             " (point file)\n2 lines without a point are not written to a point file (lines 1, "
             "2)\n",
         ""},
        {{"--convert", job, folder.Path("out.txt"), "--format=gsi8"},
         0,
         job + ": 12 points written to " + folder.Path("out.txt") + " (GSI-8)\n",
         ""},
        {{"--convert", folder.Path("bad.dat"), folder.Path("bad.gsi"), "--strict"},
         1,
         "",
         folder.Path("bad.dat") + ":2: field 4: \"x\" is not a number"},
        {{"--convert", folder.Path("none.gsi"), folder.Path("none.dat")},
         1,
         "",
         "coordbook: " + folder.Path("none.gsi") +
             ": cannot open the file: No such file or directory"},
        {{"--convert", job, folder.Path("kept.gsi")},
         1,
         "",
         "coordbook: " + folder.Path("kept.gsi") + " exists; give --overwrite to replace it"},
        {{"--convert", folder.Path("wide.gsi"), folder.Path("kept.gsi"), "--format", "gsi8",
          "--overwrite"},
         1,
         "",
         "coordbook: cannot write " + folder.Path("kept.gsi") +
             ": point \"TOOLONG99\" (line 1): \"110001+0000000TOOLONG99\" holds more than GSI-8 "
             "can"},
        {{"--convert", job, folder.Path("gone/out.dat")},
         1,
         "",
         "coordbook: cannot write " + folder.Path("gone/out.dat") + ": No such file or directory"},
        {{"--convert", job, folder.Path("out.txt")},
         2,
         "",
         "coordbook: cannot tell the format from \"" + folder.Path("out.txt") +
             "\": give --format"},
        {{"--convert", job, "out.gsi", "--format", "gsi12"},
         2,
         "",
         "coordbook: unknown format \"gsi12\""},
        {{"--convert", job}, 2, "", "coordbook: --convert takes an input and an output file"},
        {{"--convert", job, "out.gsi", "--format"}, 2, "", "coordbook: --format needs a value"},
        {{"--frobnicate"}, 2, "", "coordbook: unknown option --frobnicate"},
        {{"--convert", "--help"}, 0, coordbook::CommandLine::Usage(), ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(coordbook::CommandLine().Run(c.args, out, err), c.status) << c.args.back();
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("bad.gsi")));
    EXPECT_EQ(folder.ReadFile("kept.gsi"), "old");
}

} // namespace
