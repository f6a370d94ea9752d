#include "legacyxfer/SendSession.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

using namespace std::chrono;

namespace {

constexpr auto kCancelCheck = milliseconds(10);
// How long the instrument may hold the line stopped at the end; after a
// cancel only a moment, so a window closing does not hang on it.
constexpr auto kFinalWait = seconds(30);
constexpr auto kCancelledWait = seconds(1);

} // namespace

SendSession::SendSession(Options options) : options_(std::move(options)) {}

std::string SendSession::Start() {
    if (const std::string problem = options_.preset.Problem(); !problem.empty()) {
        return problem;
    }
    std::ifstream in(options_.file, std::ios::binary);
    if (!in) {
        return options_.file + ": cannot be read";
    }
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        return options_.file + ": read error";
    }
    LinePreset preset = options_.preset;
    if (options_.pacing == Pacing::XonXoff) {
        preset.flow = LinePreset::Flow::XonXoff;
    } else if (options_.pacing == Pacing::LineDelay) {
        preset.flow = LinePreset::Flow::None;
    }
    const CMiniDCB dcb = preset.ToDcb(options_.port);
    if (port_.ConnectSerial(&dcb) != 1) {
        return port_.LastError();
    }
    return {};
}

std::uint64_t SendSession::TotalLines() const {
    return static_cast<std::uint64_t>(std::count(bytes_.begin(), bytes_.end(), '\n'));
}

SendSession::Result SendSession::Run(const Progress& progress, const Cancelled& cancelled) {
    Result result;
    result.totalBytes = bytes_.size();
    const bool byLine = options_.pacing == Pacing::LineDelay;
    std::size_t at = 0;
    while (at < bytes_.size()) {
        if (cancelled()) {
            result.cancelled = true;
            break;
        }
        std::size_t end = std::min(bytes_.size(), at + kPiece);
        if (byLine) {
            const std::size_t lineEnd = bytes_.find('\n', at);
            end = lineEnd == std::string::npos ? bytes_.size() : lineEnd + 1;
        }
        const std::string_view piece(bytes_.data() + at, end - at);
        if (port_.OuterThreadSendMsg(piece.data(), static_cast<int>(piece.size())) != 1) {
            result.message = "sending failed after " + std::to_string(result.bytesSent) + " of " +
                             std::to_string(result.totalBytes) + " bytes: " + port_.LastError();
            port_.DisConnectSerial();
            return result;
        }
        at = end;
        result.bytesSent = at;
        result.linesSent +=
            static_cast<std::uint64_t>(std::count(piece.begin(), piece.end(), '\n'));
        progress(result.bytesSent, result.linesSent);
        if (byLine && at < bytes_.size() && !Pause(cancelled)) {
            result.cancelled = true;
            break;
        }
    }
    int waiting = 0;
    const bool gone = port_.WaitSent(
        steady_clock::now() + (result.cancelled ? kCancelledWait : kFinalWait), waiting);
    port_.DisConnectSerial();
    result.bytesSent -= static_cast<std::uint64_t>(waiting);
    const std::string sent = std::to_string(result.bytesSent) + " of " +
                             std::to_string(result.totalBytes) + " bytes (" +
                             std::to_string(result.linesSent) + " lines)";
    if (result.cancelled) {
        result.message = "cancelled after " + sent;
    } else if (!gone) {
        result.message = "the instrument did not take the last bytes: sent " + sent;
    } else {
        result.done = true;
        result.message = "sent " + sent + " of " + options_.file;
    }
    return result;
}

bool SendSession::Pause(const Cancelled& cancelled) {
    const auto until = steady_clock::now() + options_.lineDelay;
    while (steady_clock::now() < until) {
        if (cancelled()) {
            return false;
        }
        std::this_thread::sleep_for(
            std::min<steady_clock::duration>(kCancelCheck, until - steady_clock::now()));
    }
    return true;
}
