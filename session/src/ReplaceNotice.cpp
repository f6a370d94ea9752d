#include "session/ReplaceNotice.h"

#include "catalogue/DeviceListing.h"
#include "catalogue/ListLine.h"

#include <algorithm>

namespace {

bool IsJob(int kind) {
    return kind == TransferRequest::JobUpload || kind == TransferRequest::JobUploadSelect;
}

bool IsPointBlock(std::u16string_view line) {
    return line.starts_with(u"*11") || line.starts_with(u"11");
}

} // namespace

std::size_t ReplaceNotice::UploadedItems(const TransferRequest& request) {
    const bool job = IsJob(request.kind);
    return static_cast<std::size_t>(
        std::count_if(request.lines.begin(), request.lines.end(), [&](const std::u16string& line) {
            return job ? IsPointBlock(line) : !line.empty();
        }));
}

std::optional<std::string> ReplaceNotice::ForUpload(const std::u16string& storedLine,
                                                    const TransferRequest& request,
                                                    const std::string& pcName) {
    // Road data goes into the instrument's receiving alignment, never into
    // the entry it was dropped on: that entry is not replaced.
    if (storedLine.empty() || request.kind < TransferRequest::JobUpload ||
        request.kind > TransferRequest::CodeUpload) {
        return std::nullopt;
    }
    const auto fields = ListLine::Split(ListLine::WithoutLineEnd(storedLine), 3);
    const long long held = fields.size() > 2 ? ListLine::ReadDecimal(fields[2]) : 0;
    if (held <= 0) {
        return std::nullopt;
    }
    const char* what = IsJob(request.kind) ? "fixed points" : "codes";
    std::string name = DeviceListing::Utf8(fields[0]);
    if (name.starts_with("IN:")) {
        name.erase(0, 3);
    }
    return name + " holds " + std::to_string(held) + " " + what +
           "; the upload replaces them with the " + std::to_string(UploadedItems(request)) +
           " of " + pcName;
}
