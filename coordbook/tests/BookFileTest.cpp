#include "BookSamples.h"

#include "coordbook/BookLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Written(const PointBook& book, BookFormat format) {
    const BookOutput output = BookSamples::Write(book, format);
    EXPECT_EQ(output.refusal, "");
    return output.bytes;
}

// Every point's values, in file order.
std::vector<PointValues> ValuesOf(const PointBook& book) {
    std::vector<PointValues> values;
    for (std::size_t row = 0; row < book.Rows(); ++row) {
        values.push_back(book.ValuesOfRow(row));
    }
    return values;
}

TEST(BookFile, FilesTheSuiteWritesComeBackByteForByte) {
    const std::string gsi16 = BookSamples::GsiJob(GsiWidth::Gsi16);
    const std::string dat = BookSamples::PointFile();
    struct Case {
        const char* name;
        std::string bytes;
        BookFormat format;
    };
    const Case cases[] = {
        {"demo.gsi", BookSamples::DemoJob(), BookFormat::Gsi16},
        {"job16.gsi", gsi16, BookFormat::Gsi16},
        {"job8.GSI", BookSamples::GsiJob(GsiWidth::Gsi8), BookFormat::Gsi8},
        {"points.dat", dat, BookFormat::Dat},
        // LF line ends, an empty line, blanks doubled, no line end at the end.
        {"edited.gsi",
         "\n*110001+00000000000000P1  81..00+0000000000001000 82..00-0000000000002000",
         BookFormat::Gsi16},
        {"mixed.dat", "P1,1,2\n\r\nP2,+3.50,-0004,,A,B\r\nno coordinates", BookFormat::Dat},
        {"cr.dat", "P1,1,2\r\nP2,3,4\r", BookFormat::Dat},
        // Lines that cannot be read stay as they are.
        {"bad.gsi", gsi16 + "not GSI at all\r\n" + gsi16, BookFormat::Gsi16},
        {"bad.dat", "P1,1,2,3,X\r\nP2,one,2\r\n", BookFormat::Dat},
    };
    BookSamples samples;
    for (const Case& c : cases) {
        const auto book = samples.Load(c.name, c.bytes);
        ASSERT_TRUE(book);
        EXPECT_EQ(book->Format(), c.format) << c.name;
        EXPECT_EQ(Written(*book, c.format), c.bytes) << c.name;
    }
}

TEST(BookFile, Gsi16ToGsi8AndBackKeepsWhatGsi8HoldsAndNamesThePointItCannot) {
    BookSamples samples;
    const std::string gsi16 = BookSamples::GsiJob(GsiWidth::Gsi16);
    EXPECT_EQ(Written(*samples.Load("job.gsi", gsi16), BookFormat::Gsi8),
              BookSamples::GsiJob(GsiWidth::Gsi8));
    for (const std::string& job : {gsi16, BookSamples::DemoJob()}) {
        const auto book16 = samples.Load("job.gsi", job);
        const auto book8 = samples.Load("job8.gsi", Written(*book16, BookFormat::Gsi8));
        EXPECT_EQ(book8->Format(), BookFormat::Gsi8);
        EXPECT_EQ(ValuesOf(*book8), ValuesOf(*book16));
        EXPECT_EQ(Written(*book8, BookFormat::Gsi16), job);
    }

    const std::vector<std::pair<std::string, std::string>> refused = {
        {"*110002+0000000LONGNAME1 81..00+0000000000001000 82..00+0000000000001000 \r\n",
         "point \"LONGNAME1\" (line 1): \"110002+0000000LONGNAME1\" holds more than GSI-8 can"},
        {"*110002+00000000000000P1 81..00+0000000123456789 82..00+0000000000001000 \r\n",
         "point \"P1\" (line 1): \"81..00+0000000123456789\" holds more than GSI-8 can"},
        {"*410001+0000000LONGCODE1 \r\n",
         "line 1: \"410001+0000000LONGCODE1\" holds more than GSI-8 can"},
    };
    for (const auto& [job, reason] : refused) {
        const BookOutput output =
            BookSamples::Write(*samples.Load("big.gsi", job), BookFormat::Gsi8);
        EXPECT_EQ(output.refusal, reason);
        EXPECT_EQ(output.bytes, "");
    }
}

TEST(BookFile, PointFilesAndGsiJobsBecomeEachOther) {
    BookSamples samples;
    const auto dat = samples.Load("points.dat", BookSamples::PointFile() + "NOTHING,,,,X\r\n");
    const BookOutput job = BookSamples::Write(*dat, BookFormat::Gsi16);
    EXPECT_EQ(job.leftOut, std::vector<std::size_t>{13});
    // Two blocks without a point open the job, then the points as the job writer writes them.
    EXPECT_EQ(job.bytes, "*130000+0000000000000job \r\n*19....+0000000014052024 \r\n" +
                             BookSamples::GsiJob(GsiWidth::Gsi16));
    const auto back = samples.Load("job.gsi", job.bytes);
    const BookOutput points = BookSamples::Write(*back, BookFormat::Dat);
    EXPECT_EQ(points.leftOut, (std::vector<std::size_t>{1, 2}));
    // A line that could not be read goes only into a file of its own kind.
    EXPECT_EQ(BookSamples::Write(*samples.Load("p.dat", "P1,1,2\r\nP2,x,2\r\n"), BookFormat::Gsi8)
                  .leftOut,
              std::vector<std::size_t>{2});
    EXPECT_EQ(points.bytes, BookSamples::PointFile());

    // Values a GSI job cannot hold, or a point file, name their point.
    const std::vector<std::tuple<std::string, std::string, BookFormat, std::string>> refused = {
        {"p.dat", "007,1,2\r\n", BookFormat::Gsi16,
         "point \"007\" (line 1): name: GSI drops leading zeros"},
        {"p.dat", "P 1,1,2\r\n", BookFormat::Gsi16,
         "point \"P 1\" (line 1): name: a blank would end the GSI word"},
        {"p.dat", "P1,1.123456,2\r\n", BookFormat::Gsi16,
         "point \"P1\" (line 1): a coordinate does not fit GSI-16"},
        {"j.gsi", "*110001+0000000000000P,1 81..00+0000000000001000 82..00+0000000000001000 \r\n",
         BookFormat::Dat, "point \"P,1\" (line 1): a \",\" would end the name in a point file"},
    };
    for (const auto& [name, bytes, format, reason] : refused) {
        EXPECT_EQ(BookSamples::Write(*samples.Load(name, bytes), format).refusal, reason) << bytes;
    }
}

TEST(BookFile, LinesThatCannotBeReadAreNamedAndKept) {
    BookSamples samples;
    const std::string point = "*110001+00000000000000P1 81..00+0000000001234567 "
                              "82..00+0000000000045678 \r\n";
    const auto book =
        samples.Load("bad.gsi", point + "hello world\r\n" + point +
                                    "*110002+00000000000000P2 81..00+00000000ABC34567 \r\n");
    std::vector<std::string> problems;
    for (const FieldFileError& problem : book->Problems()) {
        problems.push_back(problem.Text());
    }
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "line 2: \"hello\" is not a GSI word",
                            "line 4: \"81..00+00000000ABC34567\" is not a length in millimetres "
                            "or feet"}));
    EXPECT_EQ(book->Rows(), 2u);

    TempFolder folder;
    EXPECT_EQ(BookLoader::Load(folder.Path("none.gsi")).error->Text(),
              "cannot open the file: No such file or directory");
    folder.WriteFile("binary.dat", std::string("P1,1,2\r\n\0\x01", 10));
    EXPECT_EQ(BookLoader::Load(folder.Path("binary.dat")).error->Text(),
              "line 2: the line holds a NUL byte; this is not a text file");
}

} // namespace
