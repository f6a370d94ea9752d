#include "SimOptions.h"

#include <array>
#include <charconv>
#include <functional>
#include <string_view>

namespace x4sim {

namespace {

bool Count(const std::string& text, long low, long& out) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low) {
        return false;
    }
    out = value;
    return true;
}

std::function<bool(const std::string&)> SimpleDelay(double& field) {
    return [&field](const std::string& text) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), field);
        return error == std::errc() && end == text.data() + text.size() && field >= 0 &&
               field <= 3600;
    };
}

} // namespace

std::optional<SimOptions> SimOptions::Parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions options;
    const auto number = [&](int& field) {
        return [&field](const std::string& text) {
            long value = 0;
            const bool ok = Count(text, 0, value) && value <= 1'000'000'000;
            field = static_cast<int>(value);
            return ok;
        };
    };
    const auto text = [](std::string& field) {
        return [&field](const std::string& value) {
            field = value;
            return !value.empty();
        };
    };
    const std::array<std::pair<std::string_view, std::function<bool(const std::string&)>>, 15>
        kOptions = {{
            {"--data", text(options.dataDir)},
            {"--link", text(options.linkPath)},
            {"--log", text(options.logFile)},
            {"--received", text(options.receivedDir)},
            {"--replay", text(options.replayLog)},
            {"--baud", [&](const std::string& v) { return Count(v, 1, options.baud); }},
            {"--silent", number(options.silent)},
            {"--warn", number(options.warn)},
            {"--chunk", number(options.chunk)},
            {"--hangup-after", number(options.hangupAfter)},
            {"--hangup-in-upload", number(options.hangupInUpload)},
            {"--legacy-send", text(options.legacySend)},
            {"--legacy-receive", text(options.legacyReceive)},
            {"--delay", SimpleDelay(options.legacyDelay)},
            {"--store-pause", number(options.storePauseMs)},
        }};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        const auto* option = std::find_if(kOptions.begin(), kOptions.end(),
                                          [&](const auto& entry) { return entry.first == name; });
        if (option == kOptions.end()) {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!value && i + 1 < args.size()) {
            value = args[++i];
        }
        if (!value || !option->second(*value)) {
            error = "bad or missing value for " + name;
            return std::nullopt;
        }
    }
    if (!options.legacySend.empty() && !options.legacyReceive.empty()) {
        error = "--legacy-send and --legacy-receive exclude each other";
        return std::nullopt;
    }
    return options;
}

} // namespace x4sim
