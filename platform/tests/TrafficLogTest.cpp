#include "platform/TrafficLog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

// Every byte reads in an editor, and what the two directions and the notes
// give arrives whole, stamped and in order, even from several threads.
TEST(TrafficLog, EscapesEveryByteAndKeepsTheOrderOfEachThread) {
    EXPECT_EQ(TrafficLog::Escaped(std::string("a\r\n\"\\\x1A\x7F\xC4 z\0", 11)),
              "a\\r\\n\\\"\\\\\\x1A\\x7F\\xC4 z\\x00");
    const auto path = std::filesystem::temp_directory_path() /
                      ("traffic-log-test-" + std::to_string(::getpid()) + ".log");
    {
        TrafficLog log(path.string());
        ASSERT_TRUE(log.IsOpen()) << log.Error();
        std::thread receiver([&log] {
            for (int i = 0; i < 500; ++i) {
                log.Received("R" + std::to_string(i) + "\r\n");
            }
        });
        for (int i = 0; i < 500; ++i) {
            log.Sent("S" + std::to_string(i) + "\r\n");
        }
        receiver.join();
        log.Note("done");
    }
    static const std::regex kLine(
        R"re(^ *([0-9]+\.[0-9]{3}) (PC->X4 "S|X4->PC "R)([0-9]+)\\r\\n"$)re");
    int sent = 0;
    int received = 0;
    double previous = 0;
    const auto lines = LinesOf(path);
    ASSERT_EQ(lines.size(), 1001u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, kLine)) << lines[i];
        EXPECT_GE(std::stod(match[1]), previous);
        previous = std::stod(match[1]);
        int& next = match[2] == "PC->X4 \"S" ? sent : received;
        EXPECT_EQ(std::stoi(match[3]), next++);
    }
    EXPECT_NE(lines.back().find("(done)"), std::string::npos);
    EXPECT_FALSE(TrafficLog("/nonexistent-folder/x.log").IsOpen());
    std::filesystem::remove(path);
}
