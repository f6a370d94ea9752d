#include "catalogue/RequestKind.h"

#include "protocol/TransferRequest.h"

#include <iterator>

namespace {

struct Row {
    EntryKind category;
    int download;
    int erase;
    int upload;
};

constexpr Row kRows[] = {
    {EntryKind::Job, TransferRequest::JobDownload, TransferRequest::JobErase,
     TransferRequest::JobUpload},
    {EntryKind::Code, TransferRequest::CodeDownload, TransferRequest::CodeErase,
     TransferRequest::CodeUpload},
    {EntryKind::Hal, TransferRequest::HalDownload, TransferRequest::HalErase,
     TransferRequest::HalUpload},
    {EntryKind::Val, TransferRequest::ValDownload, TransferRequest::ValErase,
     TransferRequest::ValUpload},
};

} // namespace

std::optional<int> RequestKindOf(EntryKind category, RequestAction action) {
    for (const Row& row : kRows) {
        if (row.category == category) {
            switch (action) {
            case RequestAction::Download:
                return row.download;
            case RequestAction::Erase:
                return row.erase;
            case RequestAction::Upload:
                return row.upload;
            }
        }
    }
    return std::nullopt;
}

std::optional<RequestAction> ActionOfRequest(int requestKind) {
    if (requestKind == TransferRequest::JobUploadSelect) {
        return RequestAction::Upload;
    }
    for (const Row& row : kRows) {
        for (const auto& [kind, action] : {std::pair(row.download, RequestAction::Download),
                                           std::pair(row.erase, RequestAction::Erase),
                                           std::pair(row.upload, RequestAction::Upload)}) {
            if (requestKind == kind) {
                return action;
            }
        }
    }
    return std::nullopt;
}

std::optional<EntryKind> CategoryOfRequest(int requestKind) {
    if (requestKind == TransferRequest::JobUploadSelect) {
        return EntryKind::Job;
    }
    for (const Row& row : kRows) {
        if (requestKind == row.download || requestKind == row.erase || requestKind == row.upload) {
            return row.category;
        }
    }
    return std::nullopt;
}
