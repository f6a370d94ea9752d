#include "legacyxfer/CommandLine.h"
#include "legacyxfer/PresetBook.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, OptionsOverrideThePresetAndBadLinesAreRefused) {
    const PresetBook book("/nonexistent/presets");
    std::string error;
    const auto receive = legacyxfer::Parse({"receive", "--baud", "19200", "COM3", "-o", "job.gsi",
                                            "--preset", LinePreset::BuiltIn()[1].name,
                                            "--end-silence", "1.5", "--end-marker", "1a"},
                                           book, error);
    ASSERT_TRUE(receive) << error;
    EXPECT_EQ(receive->port, "COM3");
    EXPECT_EQ(receive->preset.baud, 19200); // the option wins, wherever it stands
    EXPECT_EQ(receive->preset.dataBits, 7); // the rest comes from the preset
    EXPECT_EQ(receive->preset.endSilence, 1.5);
    EXPECT_EQ(receive->preset.endMarker, "\x1a");

    const auto send =
        legacyxfer::Parse({"send", "/dev/ttyUSB0", "job.gsi", "--line-delay", "50"}, book, error);
    ASSERT_TRUE(send) << error;
    EXPECT_EQ(send->pacing, SendSession::Pacing::LineDelay);
    EXPECT_EQ(send->lineDelayMs, 50);

    for (const Args& bad : std::vector<Args>{
             {"fetch"},
             {"receive", "COM1"},
             {"receive", "COM1", "-o", "f", "--preset", "no such"},
             {"receive", "COM1", "-o", "f", "--baud", "12345"},
             {"receive", "COM1", "-o", "f", "--parity", "MARK"},
             {"receive", "COM1", "-o", "f", "--end-silence", "0"},
             {"receive", "COM1", "-o", "f", "--bogus"},
             {"send", "COM1"},
             {"send", "COM1", "f", "--xonxoff", "--line-delay", "5"},
             {"send", "COM1", "f", "--line-delay", "-1"},
         }) {
        SCOPED_TRACE(testing::PrintToString(bad));
        EXPECT_FALSE(legacyxfer::Parse(bad, book, error));
    }
}

} // namespace
