#pragma once

#include "protocol/TransferRequest.h"

#include <optional>
#include <string>

// Whether an upload replaces data the instrument holds, and the sentence
// that says so before anything is sent: "BRIDGE holds 24 fixed points; the
// upload replaces them with the 12 of site.gsi". The instrument's list line
// of the target tells what it holds (a job's fixed points, a code list's
// codes); an upload into an empty or a new entry replaces nothing, nor does
// road data, which the instrument keeps in its receiving alignment.
class ReplaceNotice {
public:
    // storedLine: the target's list line (empty when it has none); pcName:
    // the uploaded file's name as the user sees it (UTF-8).
    static std::optional<std::string> ForUpload(const std::u16string& storedLine,
                                                const TransferRequest& request,
                                                const std::string& pcName);
    // What the upload's lines hold, counted as the instrument counts them:
    // GSI point blocks for a job, else the lines that are not empty.
    static std::size_t UploadedItems(const TransferRequest& request);
};
