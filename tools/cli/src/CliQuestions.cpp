#include "CliQuestions.h"

namespace stationlinkcli {

SessionQuestions::ExistingFile CliQuestions::AskExistingFile(const std::string& /*path*/,
                                                             const std::string& /*keepBothPath*/) {
    if (args_.Flag("--overwrite")) {
        return ExistingFile::Replace;
    }
    hint_ = " (--overwrite replaces it)";
    return ExistingFile::Cancel;
}

bool CliQuestions::AskReplaceInstrumentData(const std::string& /*notice*/) {
    if (args_.Flag("--replace")) {
        return true;
    }
    hint_ = " (--replace replaces them)";
    return false;
}

} // namespace stationlinkcli
