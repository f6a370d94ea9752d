#include "legacyxfer/CaptureSession.h"
#include "legacyxfer/CommandLine.h"
#include "legacyxfer/DrawExportRun.h"
#include "legacyxfer/PointFileExport.h"
#include "legacyxfer/TerminalStatus.h"

#include <unistd.h>

namespace legacyxfer {

namespace {

constexpr auto kPollStep = std::chrono::milliseconds(50);

bool Shown(const Request& request) {
    return !request.quiet && ::isatty(STDERR_FILENO) == 1;
}

std::string CountsText(const CaptureCounts& counts) {
    std::string text = std::to_string(counts.bytes) + " bytes  " + std::to_string(counts.lines) +
                       " lines  " + std::to_string(counts.blocks) + " blocks  " +
                       std::to_string(counts.points) + " points";
    const std::uint64_t problems =
        counts.blockJumps + counts.lineErrors + counts.overruns + counts.badBytes;
    if (problems > 0) {
        text += "  " + std::to_string(problems) + " problems";
    }
    return text;
}

} // namespace

int RunReceive(const Request& request, std::ostream& err, const std::atomic<bool>& interrupted) {
    CaptureSession session({request.port, request.preset, request.file, request.overwrite});
    if (const std::string why = session.Start(); !why.empty()) {
        err << "legacyxfer: " << why << "\n";
        return kFailed;
    }
    TerminalStatus status(err, Shown(request));
    status.Show("waiting for the instrument to send on " + request.port + " ...", true);
    while (!session.Poll(kPollStep)) {
        session.TakeLines(); // the problems are listed at the end; the lines are in the file
        if (interrupted) {
            session.Cancel();
        }
        if (session.Receiving()) {
            status.Show(CountsText(session.Counts()));
        }
    }
    const auto result = session.Finish();
    status.Show(CountsText(session.Counts()), true);
    status.End();
    for (const std::string& problem : session.Problems()) {
        err << result.savedPath << ": " << problem << "\n";
    }
    if (!result.saved) {
        err << "legacyxfer: " << result.message << "\n";
        return result.ending == CaptureSession::Ending::Cancelled ? kInterrupted : kFailed;
    }
    if (!request.pointsFile.empty()) {
        const auto points =
            PointFileExport::Write(request.file, request.pointsFile, request.overwrite);
        for (const std::string& skipped : points.skipped) {
            err << request.file << ": " << skipped << "\n";
        }
        if (!points.written) {
            err << "legacyxfer: " << points.message << "\n";
            return kFailed;
        }
    }
    if (!request.exportFile.empty()) {
        const auto exported =
            DrawExportRun::Run(request.file, request.exportFile, request.overwrite);
        if (!exported.done) {
            err << "legacyxfer: " << exported.message << "\n";
            return kFailed;
        }
    }
    return kDone;
}

int RunSend(const Request& request, std::ostream& err, const std::atomic<bool>& interrupted) {
    SendSession session({request.port, request.preset, request.file, request.pacing,
                         std::chrono::milliseconds(request.lineDelayMs)});
    if (const std::string why = session.Start(); !why.empty()) {
        err << "legacyxfer: " << why << "\n";
        return kFailed;
    }
    TerminalStatus status(err, Shown(request));
    const std::uint64_t total = session.TotalBytes();
    const auto result = session.Run(
        [&](std::uint64_t bytes, std::uint64_t lines) {
            status.Show(TerminalStatus::Bar(bytes, total) + "  " + std::to_string(bytes) + "/" +
                        std::to_string(total) + " bytes  " + std::to_string(lines) + " lines");
        },
        [&] { return interrupted.load(); });
    status.End();
    if (result.cancelled) {
        err << "legacyxfer: " << result.message << "\n";
        return kInterrupted;
    }
    if (!result.done) {
        err << "legacyxfer: " << result.message << "\n";
        return kFailed;
    }
    return kDone;
}

} // namespace legacyxfer
