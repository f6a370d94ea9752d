#include "session/DownloadTarget.h"

#include "platform/CodePage.h"
#include "protocol/TransferRequest.h"
#include "transfer/FreeFileName.h"
#include "transfer/LocalPath.h"

#include <filesystem>

bool DownloadTarget::Settle(TransferRequest& request, SessionQuestions* questions) {
    const std::string path = LocalPath::FromWide(request.jobLabel);
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() ==
        std::filesystem::file_type::not_found) {
        return true;
    }
    const std::string keepBoth = FreeFileName::Beside(path);
    const auto answer = questions != nullptr ? questions->AskExistingFile(path, keepBoth)
                                             : SessionQuestions::ExistingFile::Cancel;
    if (answer == SessionQuestions::ExistingFile::KeepBoth) {
        request.jobLabel = CodePage("UTF-8").ToWide(keepBoth);
    }
    request.replacesPcFile = answer == SessionQuestions::ExistingFile::Replace;
    return answer != SessionQuestions::ExistingFile::Cancel;
}
