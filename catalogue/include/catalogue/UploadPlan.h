#pragma once

#include "catalogue/DeviceModel.h"
#include "protocol/TransferRequest.h"
#include "transfer/UploadFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The decisions of sending a PC file to the instrument: which entry a drop
// names, how the transfer dialog is set up for its category, and the request
// (or the messages) that the file and the dialog's choices give.
class UploadPlan {
public:
    static constexpr std::u16string_view kTranslatedFail = u"Translated Fail";
    static constexpr std::u16string_view kOpenError = u"Pc File Open Error!";
    static constexpr std::u16string_view kEmptyFile = u"File size Null";
    static constexpr std::u16string_view kInvalidArgument = u"An invalid argument was encountered.";
    static constexpr std::u16string_view kNotConnected =
        u"No instrument is connected: expand its port first; nothing was sent.";

    // The entry a drop names: the category text and the entry label.
    struct Target {
        std::u16string category;
        std::u16string label;
    };

    // How the transfer dialog opens for a target; none for a category that
    // takes no uploads ("FOR").
    struct Dialog {
        int mode = 0;                          // 8 job, 10 code list, 11 HAL, 12 VAL
        std::u16string fileName;               // f0; for a job without one the PC file's name
        std::vector<std::u16string> dataTypes; // jobs: the format list
        std::u16string storedLine;             // the target's list line (empty when unknown)
        // Only a job without a name takes the name typed in the dialog; every
        // other target keeps its own.
        bool nameUsed = false;
        // Where the data lands, as the dialog and the progress say it: the
        // entry, or for road data the instrument's receiving alignment.
        std::u16string targetText;
    };
    // pcPath: the dropped PC file, whose name without its extension is
    // offered as a new job's name ("default" when there is none).
    static std::optional<Dialog> Prepare(const DeviceModel& model, const Target& target,
                                         std::u16string_view pcPath = {});
    // What the progress dialog calls the data an upload sends: the job's
    // data type, or the kind of a code list or an alignment.
    static std::u16string FileTypeOf(int mode, std::u16string_view dataType);

    // What to do after OK.
    struct Decision {
        std::optional<TransferRequest> request; // set when the upload is to start
        std::vector<std::u16string> messages;   // shown in order (failures, "File size Null")
        bool failed = false;                    // the drop then ends with "Translated Fail"
    };
    // file: the PC file as UploadFileReader read it; confirmedName and
    // dataType: the dialog's file name and chosen data type; connected:
    // whether the instrument's port is open.
    static Decision Decide(const Dialog& dialog, std::u16string_view pcPath, const UploadFile& file,
                           std::u16string_view confirmedName, std::u16string_view dataType,
                           bool connected);

    // "GSI" "0", "IDEX" "1", any other text itself.
    static std::u16string FormatCodeOf(std::u16string_view dataType);

private:
    static Decision Refused(std::vector<std::u16string> messages, bool failed);
};
