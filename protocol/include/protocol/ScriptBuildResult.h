#pragma once

#include <string>

// Outcome of preparing a script for a request.
struct ScriptBuildResult {
    bool ok = true;
    std::string error; // a sentence for the user when not ok

    static ScriptBuildResult Refused(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};
