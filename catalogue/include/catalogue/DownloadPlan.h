#pragma once

#include "protocol/TransferRequest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The decisions of downloading one instrument entry into a PC folder: the
// transfer dialog's mode and pre-filled texts, the request built from the
// user's choices, the total the progress dialog counts to, and why nothing
// is started. The windows only show these and forward the answers.
class DownloadPlan {
public:
    static constexpr std::u16string_view kDataNull = u"Data NULL";
    static constexpr std::u16string_view kInvalidArgument = u"An invalid argument was encountered.";
    static constexpr std::u16string_view kNotConnected =
        u"No instrument is connected: expand the port of the instrument first.";
    static constexpr std::u16string_view kNameNeeded = u"Please enter a file name.";
    static constexpr std::u16string_view kSelectFile = u"Pls Select Device File";
    // Data types the instrument offers beyond GSI and IDEX are written raw
    // under this extension (the dialog says so).
    static constexpr std::u16string_view kOtherExtension = u".txt";
    static constexpr std::u16string_view kOtherTypeNote =
        u"Other data types are saved as .txt files.";

    // The transfer dialog as it opens.
    struct Dialog {
        std::int32_t mode = 0;
        std::u16string fileName;
        std::vector<std::u16string> dataTypeChoices; // "name,..." texts
    };
    // For a category text ("JOB", "COD", "HAL", "VAL") and the entry's stored
    // list line; none for other categories, which download nothing.
    static std::optional<Dialog> Prepare(std::u16string_view category,
                                         std::u16string_view storedLine,
                                         const std::vector<std::u16string>& formatList);

    // The file name the dialog offers: a job's name without the
    // instrument's three-character storage prefix.
    static std::u16string OfferedName(const Dialog& dialog);

    // What the user confirmed in the dialog.
    struct Choice {
        std::u16string fileName;
        std::u16string dataType;
        std::u16string fileType;
    };
    struct Decision {
        std::optional<TransferRequest> request; // set when the download is to start
        std::int32_t total = 0;
        std::u16string refusal; // the message otherwise
        bool askAgain = false;  // the dialog should be shown again (no file name)
    };
    // folder is the destination folder path with its final separator.
    static Decision Decide(std::int32_t mode, std::u16string_view storedLine,
                           std::u16string_view folder, const Choice& choice);

    // The PC path of a typed folder, with a final "/" added when it lacks one.
    static std::u16string FolderOf(std::u16string_view typed);
    // The file name extension of a job's data type.
    static std::u16string_view ExtensionOf(std::u16string_view dataType);
    // 1 for the fixed-point node of a job ("F..."), 2 for its other nodes.
    static std::int32_t JobPartOf(std::u16string_view detailText);
};
