// x4sim: a simulated "X4 SERIES" instrument on a pseudo-terminal.

#include "ContentFiles.h"
#include "Instrument.h"
#include "InstrumentContent.h"
#include "PseudoTerminal.h"
#include "ReceivedStore.h"
#include "ReplayScript.h"
#include "SignalWatch.h"
#include "SimOptions.h"
#include "SimpleMode.h"
#include "SimulatorLoop.h"
#include "Transcript.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <sys/prctl.h>

namespace {

int Fail(const std::string& why) {
    std::cerr << "x4sim: " << why << "\n";
    return 1;
}

int ServeSimpleMode(const x4sim::SimOptions& options) {
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    Transcript transcript(options.logFile);
    SignalWatch signals;
    PseudoTerminal line;
    std::string error;
    if (!line.Open(error) || (!options.linkPath.empty() && !line.Link(options.linkPath, error))) {
        return Fail(error);
    }
    SimpleMode mode(line, options, signals, transcript);
    if (!mode.Prepare(error)) {
        return Fail(error);
    }
    std::cout << line.SlavePath() << std::endl;
    switch (mode.Run()) {
    case SimpleMode::Outcome::HungUp:
        std::cerr << "x4sim: line closed after " << options.hangupAfter << " lines\n";
        return 0;
    case SimpleMode::Outcome::Failed:
        return Fail(mode.Failure());
    case SimpleMode::Outcome::Stopped:
        break;
    }
    return 0;
}

int Serve(const x4sim::SimOptions& options) {
    if (options.SimpleMode()) {
        return ServeSimpleMode(options);
    }
    InstrumentContent content(options.dataDir.empty()
                                  ? ContentFiles::BuiltIn()
                                  : ContentFiles::FromDirectory(options.dataDir));
    std::string error;
    if (!content.Load(error)) {
        return Fail(error);
    }
    std::unique_ptr<ReceivedStore> received;
    if (!options.receivedDir.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(options.receivedDir, ignored);
        received = std::make_unique<ReceivedStore>(options.receivedDir);
    }
    Transcript transcript(options.logFile.empty() ? std::string() : options.logFile);
    if (!options.logFile.empty() && !transcript.IsOpen()) {
        return Fail(options.logFile + ": cannot write the log");
    }
    // Paced output sleeps about a millisecond per slice; the default timer
    // slack would stretch every one of those sleeps.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    SignalWatch signals;
    PseudoTerminal line;
    if (!line.Open(error) || (!options.linkPath.empty() && !line.Link(options.linkPath, error))) {
        return Fail(error);
    }
    std::cout << line.SlavePath() << std::endl;
    std::optional<ReplayScript> replay;
    if (!options.replayLog.empty() && !(replay = ReplayScript::Load(options.replayLog, error))) {
        return Fail(error);
    }
    Instrument instrument(content, received.get());
    SimulatorLoop loop(line, instrument, options, signals, transcript, replay ? &*replay : nullptr);
    switch (loop.Run()) {
    case SimulatorLoop::Outcome::HungUp:
        std::cerr << "x4sim: line closed after "
                  << (options.hangupAfter > 0 ? options.hangupAfter : options.hangupInUpload)
                  << " data lines\n";
        return 0;
    case SimulatorLoop::Outcome::Failed:
        return Fail(loop.Failure());
    case SimulatorLoop::Outcome::Stopped:
        break;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = x4sim::SimOptions::Parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "x4sim: " << error << "\n" << x4sim::SimOptions::kUsage;
        return 2;
    }
    if (options->help) {
        std::cout << x4sim::SimOptions::kUsage;
        return 0;
    }
    return Serve(*options);
}
