#include "platform/CommandStart.h"

#include "platform/CodePage.h"

std::optional<int> CommandStart::Check(std::string_view program, bool help,
                                       const std::string* error, std::string_view usage,
                                       std::ostream& out, std::ostream& err) {
    if (help) {
        out << usage;
        return kExitDone;
    }
    if (const std::string problem = CodePage::WireProblem(); !problem.empty()) {
        err << program << ": " << problem << "\n";
        return kExitUsage;
    }
    if (error != nullptr) {
        err << program << ": " << *error << "\n" << usage;
        return kExitUsage;
    }
    return std::nullopt;
}
