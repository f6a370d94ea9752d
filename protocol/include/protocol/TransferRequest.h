#pragma once

#include "protocol/ScriptBuildResult.h"

#include <cstdint>
#include <string>
#include <vector>

class CDKestaDlg;

// One instrument operation: what to download, erase or upload, with the
// texts that fill the catalogue's placeholders.
struct TransferRequest {
    enum Kind : std::int32_t {
        Empty = -1,
        JobDownload = 0,
        CodeDownload = 1,
        HalDownload = 2,
        ValDownload = 3,
        JobErase = 4,
        CodeErase = 5,
        HalErase = 6,
        ValErase = 7,
        JobUpload = 8,
        JobUploadSelect = 9,
        CodeUpload = 10,
        HalUpload = 11,
        ValUpload = 12,
    };

    std::int32_t kind = Empty;
    std::u16string pcFormat;           // PC-side format name, "CASS" for a converted download
    std::u16string formatCode;         // instrument format number
    std::u16string itemName;           // how commands address the item
    std::u16string partCode;           // job part, "COORDS" or "OBSERV"
    std::u16string jobLabel;           // job name, or the destination path of a download
    bool replacesPcFile = false;       // the user let a download replace the file at jobLabel
    std::u16string pcPath;             // PC file of an upload
    std::u16string echoName;           // what the instrument echoes when an upload starts
    std::vector<std::u16string> lines; // upload lines without line ends
    std::int32_t nextLine = 0;

    // Copies this request into the engine and prepares the engine's script
    // table for its kind. A request whose texts do not fit the table or whose
    // lines do not fit the send buffer is refused and the engine is left as
    // it was.
    ScriptBuildResult BuildScript(CDKestaDlg& engine) const;
};
