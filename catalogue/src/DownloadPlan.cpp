#include "catalogue/DownloadPlan.h"

#include "catalogue/EmptyPart.h"
#include "catalogue/EntryKind.h"
#include "catalogue/ListLine.h"
#include "catalogue/RequestKind.h"
#include "catalogue/UploadPlan.h"
#include "transfer/SafeFileName.h"

#include <algorithm>

namespace {

constexpr std::u16string_view kCass = u"CASS";
constexpr std::u16string_view kNothingReceived = u"nothing was downloaded";
// The instrument's storage prefix of a job name, which the dialog drops.
constexpr std::size_t kJobPrefix = 3;

// The extension each category's default name gets, and the name without a
// label ("default" plus the extension). Labels come from the instrument, so
// the name is made safe; a job's storage prefix is kept apart from it.
std::u16string NameOf(std::u16string_view label, std::u16string_view extension,
                      std::size_t prefix = 0) {
    const std::u16string name =
        (label.empty() ? std::u16string(u"default") : std::u16string(label)) +
        std::u16string(extension);
    const std::size_t kept = std::min(prefix, name.size());
    return name.substr(0, kept) + SafeFileName::Of(std::u16string_view(name).substr(kept));
}

// Fields a download of the mode reads: the download refuses a line with fewer.
std::size_t FieldsRead(std::int32_t mode) {
    switch (mode) {
    case TransferRequest::JobDownload:
        return 4;
    case TransferRequest::CodeDownload:
        return 2;
    default:
        return 3;
    }
}

// "CASS" is a job's point file, asked of the instrument as GSI; a code list
// has no point file, and a typed "CASS" goes out as typed, as other names do.
std::u16string FormatCodeOf(std::int32_t mode, std::u16string_view dataType) {
    if (mode == TransferRequest::JobDownload && dataType == kCass) {
        return u"0";
    }
    return UploadPlan::FormatCodeOf(dataType);
}

} // namespace

std::optional<DownloadPlan::Dialog>
DownloadPlan::Prepare(std::u16string_view category, std::u16string_view storedLine,
                      const std::vector<std::u16string>& formatList) {
    const auto kind = CategoryOf(category);
    if (!kind) {
        return std::nullopt;
    }
    const auto mode = RequestKindOf(*kind, RequestAction::Download);
    if (!mode) {
        return std::nullopt;
    }
    const std::u16string f0 = ListLine::Split(storedLine, ListLine::kStoredFields).front();
    Dialog dialog;
    dialog.mode = *mode;
    switch (*kind) {
    case EntryKind::Job:
        dialog.fileName = NameOf(f0, u"", kJobPrefix);
        dialog.dataTypeChoices = formatList;
        dialog.dataTypeChoices.emplace_back(u"CASS,2");
        break;
    case EntryKind::Code:
        dialog.fileName = NameOf(f0, u".crf");
        dialog.dataTypeChoices = formatList;
        break;
    case EntryKind::Hal:
        dialog.fileName = NameOf(f0, u".hal");
        break;
    default:
        dialog.fileName = NameOf(f0, u".val");
        break;
    }
    return dialog;
}

std::u16string DownloadPlan::OfferedName(const Dialog& dialog) {
    if (dialog.mode != TransferRequest::JobDownload) {
        return dialog.fileName;
    }
    return dialog.fileName.size() > kJobPrefix ? dialog.fileName.substr(kJobPrefix)
                                               : std::u16string();
}

DownloadPlan::Decision DownloadPlan::Decide(std::int32_t mode, std::u16string_view storedLine,
                                            std::u16string_view folder, const Choice& choice) {
    Decision decision;
    if (choice.fileName.empty()) {
        // Without a name the file would be the bare extension: a hidden file.
        decision.refusal = kNameNeeded;
        decision.askAgain = true;
        return decision;
    }
    const auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    if (mode < TransferRequest::JobDownload || mode > TransferRequest::ValDownload ||
        f.size() < FieldsRead(mode)) {
        decision.refusal = kInvalidArgument;
        return decision;
    }
    TransferRequest request;
    request.kind = mode;
    request.itemName = f[1];
    // A typed name is a name in the chosen folder too, never a path.
    std::u16string path = std::u16string(folder) + SafeFileName::Of(choice.fileName);
    switch (mode) {
    case TransferRequest::JobDownload:
        request.formatCode = FormatCodeOf(mode, choice.dataType);
        if (choice.dataType == kCass) {
            request.pcFormat = kCass;
        }
        path += ExtensionOf(choice.dataType);
        request.partCode = choice.fileType;
        if (choice.fileType == u"COORDS") {
            decision.total = static_cast<std::int32_t>(ListLine::ReadDecimal(f[2]));
        } else if (choice.fileType == u"OBSERV") {
            decision.total = static_cast<std::int32_t>(ListLine::ReadDecimal(f[3]));
        }
        if (decision.total == 0 && (choice.fileType == u"COORDS" || choice.fileType == u"OBSERV")) {
            decision.refusal =
                EmptyPart::Message(kDataNull, mode, storedLine, choice.fileType, kNothingReceived);
            return decision;
        }
        break;
    case TransferRequest::CodeDownload:
        request.formatCode = FormatCodeOf(mode, choice.dataType);
        decision.total = 100;
        break;
    default:
        decision.total = static_cast<std::int32_t>(ListLine::ReadDecimal(f[2]));
        if (decision.total == 0) {
            decision.refusal =
                EmptyPart::Message(kDataNull, mode, storedLine, {}, kNothingReceived);
            return decision;
        }
        break;
    }
    request.jobLabel = std::move(path);
    decision.request = std::move(request);
    return decision;
}

std::u16string DownloadPlan::FolderOf(std::u16string_view typed) {
    std::u16string folder(typed);
    if (folder.empty() || folder.back() != u'/') {
        folder += u'/';
    }
    return folder;
}

std::u16string_view DownloadPlan::ExtensionOf(std::u16string_view dataType) {
    if (dataType == u"GSI") {
        return u".gsi";
    }
    if (dataType == u"IDEX") {
        return u".idex";
    }
    if (dataType == kCass) {
        return u".dat";
    }
    return kOtherExtension;
}

std::int32_t DownloadPlan::JobPartOf(std::u16string_view detailText) {
    return !detailText.empty() && detailText.front() == u'F' ? 1 : 2;
}
