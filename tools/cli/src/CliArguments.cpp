#include "CliArguments.h"

#include <algorithm>

namespace stationlinkcli {

std::optional<CliArguments> CliArguments::Parse(const CommandSyntax& syntax,
                                                const std::vector<std::string>& args,
                                                std::string& error) {
    CliArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            parsed.arguments_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (std::find(syntax.flags.begin(), syntax.flags.end(), arg) != syntax.flags.end()) {
            parsed.flags_.insert(arg);
            continue;
        }
        if (std::find(syntax.options.begin(), syntax.options.end(), name) == syntax.options.end()) {
            error = std::string(syntax.name) + ": unknown option " + name;
            return std::nullopt;
        }
        if (equals == std::string::npos && i + 1 >= args.size()) {
            error = std::string(syntax.name) + ": " + name + " needs a value";
            return std::nullopt;
        }
        parsed.options_[name] = equals != std::string::npos ? arg.substr(equals + 1) : args[++i];
    }
    for (const auto& [option, values] : syntax.choices) {
        const auto given = parsed.options_.find(std::string(option));
        if (given != parsed.options_.end() &&
            std::find(values.begin(), values.end(), given->second) == values.end()) {
            error = std::string(syntax.name) + ": " + std::string(option) + " " + given->second +
                    " is not one the instrument takes";
            return std::nullopt;
        }
    }
    if (parsed.arguments_.size() != syntax.arguments) {
        error = std::string(syntax.name) + ": expected " + std::to_string(syntax.arguments) +
                " argument(s), got " + std::to_string(parsed.arguments_.size());
        return std::nullopt;
    }
    return parsed;
}

std::optional<std::string> CliArguments::Option(const std::string& name) const {
    const auto found = options_.find(name);
    return found != options_.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

bool CliArguments::Flag(const std::string& name) const {
    return flags_.contains(name);
}

std::string CliArguments::OptionOr(const std::string& name, const std::string& fallback) const {
    return Option(name).value_or(fallback);
}

} // namespace stationlinkcli
