#pragma once

#include "CommandSyntax.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace stationlinkcli {

// A parsed command line: the command's plain arguments, its options
// ("--name VALUE" or "--name=VALUE"; a later one replaces an earlier one)
// and its flags ("--name").
class CliArguments {
public:
    // args: everything after the command word.
    static std::optional<CliArguments>
    Parse(const CommandSyntax& syntax, const std::vector<std::string>& args, std::string& error);

    const std::vector<std::string>& Arguments() const { return arguments_; }
    std::optional<std::string> Option(const std::string& name) const;
    std::string OptionOr(const std::string& name, const std::string& fallback) const;
    bool Flag(const std::string& name) const;

private:
    std::vector<std::string> arguments_;
    std::map<std::string, std::string> options_;
    std::set<std::string> flags_;
};

} // namespace stationlinkcli
