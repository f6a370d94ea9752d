#include "catalogue/UploadPlan.h"

#include "catalogue/EntryKind.h"
#include "catalogue/ListLine.h"
#include "catalogue/RequestKind.h"
#include "platform/CodePage.h"

namespace {

// The reader's sentences name the path in the file system's UTF-8.
std::u16string FromUtf8(const std::string& text) {
    return CodePage("UTF-8").ToWide(text);
}

std::optional<int> ModeOf(std::u16string_view category) {
    const auto kind = CategoryOf(category);
    return kind ? RequestKindOf(*kind, RequestAction::Upload) : std::nullopt;
}

// The PC file's name without its folder and its last extension.
std::u16string BaseName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u'/');
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of(u'.');
    return std::u16string(dot == std::u16string_view::npos || dot == 0 ? name
                                                                       : name.substr(0, dot));
}

// The instrument takes every alignment into one receiving entry of its own
// ("RoadHal", "RoadVal"), whichever entry it was dropped on: saying the
// dropped-on entry would promise a replacement that does not happen.
std::u16string TargetTextOf(int mode, std::u16string_view label, std::u16string_view name) {
    if (mode != TransferRequest::HalUpload && mode != TransferRequest::ValUpload) {
        return std::u16string(label);
    }
    const std::u16string_view road = mode == TransferRequest::HalUpload ? u"RoadHal" : u"RoadVal";
    std::u16string text = std::u16string(road) +
                          u", the instrument's receiving alignment (new, or " +
                          u"replacing an earlier " + std::u16string(road) + u")";
    if (!name.empty() && name != road) {
        text += u"; " + std::u16string(name) + u" stays as it is";
    }
    return text;
}

} // namespace

std::optional<UploadPlan::Dialog>
UploadPlan::Prepare(const DeviceModel& model, const Target& target, std::u16string_view pcPath) {
    const auto mode = ModeOf(target.category);
    if (!mode) {
        return std::nullopt;
    }
    Dialog dialog;
    dialog.mode = *mode;
    dialog.storedLine = model.LineOf(target.category, target.label);
    dialog.fileName = ListLine::Split(dialog.storedLine, ListLine::kStoredFields).front();
    dialog.targetText = TargetTextOf(*mode, target.label, dialog.fileName);
    if (*mode == TransferRequest::JobUpload) {
        dialog.nameUsed = dialog.fileName.empty();
        if (dialog.fileName.empty()) {
            dialog.fileName = BaseName(pcPath);
        }
        if (dialog.fileName.empty()) {
            dialog.fileName = u"default";
        }
        dialog.dataTypes = model.FormatList();
    }
    return dialog;
}

UploadPlan::Decision UploadPlan::Refused(std::vector<std::u16string> messages, bool failed) {
    Decision decision;
    decision.messages = std::move(messages);
    decision.failed = failed;
    return decision;
}

UploadPlan::Decision UploadPlan::Decide(const Dialog& dialog, std::u16string_view pcPath,
                                        const UploadFile& file, std::u16string_view confirmedName,
                                        std::u16string_view dataType, bool connected) {
    // Started on a closed port the script would never run, and the progress
    // dialog would wait for an end that cannot come.
    if (!connected) {
        return Refused({std::u16string(kNotConnected)}, false);
    }
    const auto f = ListLine::Split(dialog.storedLine, ListLine::kStoredFields);
    const bool job = dialog.mode == TransferRequest::JobUpload;
    const bool jobWithoutName = job && f.front().empty();
    // The item's address (f1), and for a new job its counts, name the target
    // on the instrument; a line without them has nothing the commands could use.
    if (f.size() < 2 || (jobWithoutName && f.size() < 4)) {
        return Refused({std::u16string(kInvalidArgument)}, false);
    }
    switch (file.status) {
    case UploadFile::Status::Unreadable:
        return Refused({std::u16string(kOpenError)}, true);
    case UploadFile::Status::LineTooLong:
        return Refused({FromUtf8(file.error)}, true);
    default:
        break;
    }
    TransferRequest request;
    request.kind = dialog.mode;
    request.lines = file.lines;
    if (job) {
        request.formatCode = FormatCodeOf(dataType);
        request.itemName = f[1];
        request.pcPath = pcPath;
        request.jobLabel = confirmedName;
        request.echoName = dialog.storedLine;
        if (jobWithoutName) {
            request.kind = TransferRequest::JobUploadSelect;
            request.echoName = std::u16string(confirmedName) + u"," + f[1] + u"," + f[2] + u"," +
                               ListLine::WithoutLineEnd(f[3]);
        }
    } else {
        request.formatCode = f[1];
        request.echoName = f[0];
    }
    Decision decision;
    decision.request = std::move(request);
    if (file.lines.empty()) {
        decision.messages.emplace_back(kEmptyFile);
    }
    return decision;
}

std::u16string UploadPlan::FileTypeOf(int mode, std::u16string_view dataType) {
    switch (mode) {
    case TransferRequest::CodeUpload:
        return u"code list";
    case TransferRequest::HalUpload:
        return u"horizontal alignment";
    case TransferRequest::ValUpload:
        return u"vertical alignment";
    default:
        return std::u16string(dataType);
    }
}

std::u16string UploadPlan::FormatCodeOf(std::u16string_view dataType) {
    if (dataType == u"GSI") {
        return u"0";
    }
    if (dataType == u"IDEX") {
        return u"1";
    }
    return std::u16string(dataType);
}
