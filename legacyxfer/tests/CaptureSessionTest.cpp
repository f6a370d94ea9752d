#include "legacyxfer/CaptureSession.h"
#include "GsiSamples.h"
#include "PtyPair.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;
using Ending = CaptureSession::Ending;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct EndCase {
    const char* name;
    std::vector<std::string> bursts; // written with a pause between them
    std::string marker;
    enum class Then { Nothing, Stop, Cancel, HangUp } then;
    Ending ending;
    bool saved;
};

// Whatever ends a capture, the file (or its ".part") holds every byte that
// came, and only a capture that ended as asked takes the final name.
TEST(CaptureSessionTest, EveryEndingKeepsEveryByte) {
    const std::string job = GsiSamples::Job(3);
    const std::vector<EndCase> cases = {
        {"silence", {job}, "", EndCase::Then::Nothing, Ending::Silence, true},
        {"0xFF and NUL bytes pass unchanged",
         {std::string("A\xff\0\xff\xff"
                      "B\r\n",
                      8)},
         "",
         EndCase::Then::Nothing,
         Ending::Silence,
         true},
        {"marker split across bursts, bytes after it kept",
         {job + "\x1b", std::string("\x04") + "tail"},
         "\x1b\x04",
         EndCase::Then::Nothing,
         Ending::Marker,
         true},
        {"stopped", {job}, "", EndCase::Then::Stop, Ending::Stopped, true},
        {"cancelled", {job}, "", EndCase::Then::Cancel, Ending::Cancelled, false},
        {"line lost", {job}, "", EndCase::Then::HangUp, Ending::LineLost, false},
    };
    const fs::path dir =
        fs::temp_directory_path() / ("legacyxfer-cs-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        PtyPair pty;
        LinePreset preset;
        preset.name = "test";
        preset.endMarker = c.marker;
        // Long for the cases that must not end on silence; short otherwise.
        preset.endSilence = c.ending == Ending::Silence ? 0.3 : 30;
        const fs::path file = dir / (std::string(c.name).substr(0, 6) + ".gsi");
        CaptureSession session({pty.SlavePath(), preset, file.string(), false});
        ASSERT_EQ(session.Start(), "");
        // Silence before the first byte never ends a capture.
        EXPECT_FALSE(session.Poll(milliseconds(400)));
        std::string sent;
        for (const std::string& burst : c.bursts) {
            pty.Write(burst);
            sent += burst;
            std::this_thread::sleep_for(milliseconds(50));
        }
        const auto deadline = steady_clock::now() + seconds(5);
        while (session.Counts().bytes < sent.size() && steady_clock::now() < deadline) {
            session.Poll(milliseconds(10));
        }
        switch (c.then) {
        case EndCase::Then::Stop:
            session.Stop();
            break;
        case EndCase::Then::Cancel:
            session.Cancel();
            break;
        case EndCase::Then::HangUp:
            pty.CloseMaster();
            break;
        case EndCase::Then::Nothing:
            break;
        }
        while (!session.Poll(milliseconds(20)) && steady_clock::now() < deadline) {
        }
        const auto result = session.Finish();
        EXPECT_EQ(result.ending, c.ending);
        EXPECT_EQ(result.saved, c.saved) << result.message;
        EXPECT_EQ(result.savedPath, c.saved ? file.string() : file.string() + ".part");
        EXPECT_EQ(Read(result.savedPath), sent);
        EXPECT_EQ(fs::exists(file), c.saved);
    }
    fs::remove_all(dir);
}

} // namespace
