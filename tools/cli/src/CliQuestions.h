#pragma once

#include "CliArguments.h"

#include "session/SessionQuestions.h"

#include <string>

namespace stationlinkcli {

// The command line's answers to the session's questions: what replaces data
// was given as an option, or it is refused. Hint() names the option that
// would have allowed what was refused.
class CliQuestions : public SessionQuestions {
public:
    explicit CliQuestions(const CliArguments& args) : args_(args) {}

    ExistingFile AskExistingFile(const std::string& path, const std::string& keepBothPath) override;
    bool AskReplaceInstrumentData(const std::string& notice) override;
    const std::string& Hint() const { return hint_; }

private:
    const CliArguments& args_;
    std::string hint_;
};

} // namespace stationlinkcli
