#include "legacyxfer/CommandLine.h"

#include "legacyxfer/PresetBook.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <csignal>
#include <functional>
#include <map>

namespace legacyxfer {

namespace {

std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int /*signal*/) {
    interruptRequested = true;
}

template <typename Value>
bool ParseNumber(const std::string& text, Value& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<int> Code(const std::string& text, std::initializer_list<const char*> names) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    int code = 0;
    for (const char* name : names) {
        if (upper == name) {
            return code;
        }
        ++code;
    }
    return std::nullopt;
}

// Options that take a value, each with what it does to the request.
using Setter = std::function<bool(Request&, const std::string&)>;

const std::map<std::string, Setter, std::less<>>& ValueOptions() {
    static const std::map<std::string, Setter, std::less<>> options = {
        {"-o", [](Request& r, const std::string& v) { return r.file = v, !v.empty(); }},
        {"--points", [](Request& r, const std::string& v) { return r.pointsFile = v, !v.empty(); }},
        {"--export", [](Request& r, const std::string& v) { return r.exportFile = v, !v.empty(); }},
        {"--baud", [](Request& r, const std::string& v) { return ParseNumber(v, r.preset.baud); }},
        {"--databits",
         [](Request& r, const std::string& v) { return ParseNumber(v, r.preset.dataBits); }},
        {"--parity",
         [](Request& r, const std::string& v) {
             const auto code = Code(v, {"NONE", "ODD", "EVEN"});
             return code && (r.preset.parity = *code, true);
         }},
        {"--stopbits",
         [](Request& r, const std::string& v) {
             return (v == "0" || v == "1") && (r.preset.stopBits = v == "1", true);
         }},
        {"--flow",
         [](Request& r, const std::string& v) {
             const auto code = Code(v, {"NONE", "XONXOFF", "RTSCTS"});
             return code && (r.preset.flow = static_cast<LinePreset::Flow>(*code), true);
         }},
        {"--end-silence",
         [](Request& r, const std::string& v) { return ParseNumber(v, r.preset.endSilence); }},
        {"--end-marker",
         [](Request& r, const std::string& v) {
             auto parsed = LinePreset::FromText("x|9600|8|0|0|0|0|" + v + "|5");
             return parsed && (r.preset.endMarker = parsed->endMarker, true);
         }},
        {"--line-delay",
         [](Request& r, const std::string& v) {
             r.pacing = SendSession::Pacing::LineDelay;
             return ParseNumber(v, r.lineDelayMs) && r.lineDelayMs >= 0 && r.lineDelayMs <= 60000;
         }},
    };
    return options;
}

} // namespace

std::optional<Request> Parse(const std::vector<std::string>& args, const PresetBook& book,
                             std::string& error) {
    Request request;
    request.preset.name = "command line";
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        return request;
    }
    if (args[0] != "receive" && args[0] != "send") {
        error = "unknown command " + args[0];
        return std::nullopt;
    }
    request.command = args[0] == "receive" ? Request::Command::Receive : Request::Command::Send;
    // A preset gives the starting values; the other options change them,
    // whatever their order.
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--preset") {
            const LinePreset* preset = book.Find(args[i + 1]);
            if (preset == nullptr) {
                error = "no preset named \"" + args[i + 1] + "\"";
                return std::nullopt;
            }
            request.preset = *preset;
        }
    }
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--preset") {
            ++i;
        } else if (arg == "--overwrite") {
            request.overwrite = true;
        } else if (arg == "--quiet") {
            request.quiet = true;
        } else if (arg == "--xonxoff") {
            request.pacing = SendSession::Pacing::XonXoff;
        } else if (const auto option = ValueOptions().find(arg); option != ValueOptions().end()) {
            if (i + 1 >= args.size() || !option->second(request, args[i + 1])) {
                error = "bad or missing value for " + arg;
                return std::nullopt;
            }
            ++i;
        } else if (arg.starts_with("-")) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    const bool receive = request.command == Request::Command::Receive;
    if (positional.size() != (receive ? 1U : 2U) || (receive && request.file.empty())) {
        error = receive ? "receive needs PORT and -o FILE" : "send needs PORT and FILE";
        return std::nullopt;
    }
    request.port = positional[0];
    if (!receive) {
        request.file = positional[1];
        const auto count = std::count(args.begin(), args.end(), "--xonxoff") +
                           std::count(args.begin(), args.end(), "--line-delay");
        if (count > 1) {
            error = "--xonxoff and --line-delay exclude each other";
            return std::nullopt;
        }
    }
    if (const std::string problem = request.preset.Problem(); !problem.empty()) {
        error = problem;
        return std::nullopt;
    }
    return request;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PresetBook book(PresetBook::DefaultPath());
    std::vector<std::string> skipped;
    book.Load(skipped);
    std::string error;
    const auto request = Parse(args, book, error);
    if (!request) {
        err << "legacyxfer: " << error << "\n" << kUsageText;
        return kUsage;
    }
    if (request->command == Request::Command::Help) {
        out << kUsageText;
        return kDone;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    return request->command == Request::Command::Receive
               ? RunReceive(*request, err, interruptRequested)
               : RunSend(*request, err, interruptRequested);
}

} // namespace legacyxfer
