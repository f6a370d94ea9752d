#include "catalogue/EmptyPart.h"

#include "catalogue/ListLine.h"
#include "protocol/TransferRequest.h"

namespace {

constexpr std::size_t kJobPrefix = 3;

} // namespace

std::u16string EmptyPart::JobName(const std::vector<std::u16string>& f) {
    if (f[0].size() > kJobPrefix) {
        return f[0].substr(kJobPrefix);
    }
    return u"job " + ListLine::WithoutLineEnd(f[1]);
}

std::u16string EmptyPart::Message(std::u16string_view title, int mode,
                                  std::u16string_view storedLine, std::u16string_view part,
                                  std::u16string_view consequence) {
    auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    f.resize(std::max<std::size_t>(f.size(), 2));
    std::u16string what;
    switch (mode) {
    case TransferRequest::JobDownload:
    case TransferRequest::JobErase:
        what = JobName(f) +
               (part == u"COORDS" ? u" holds no fixed points" : u" holds no measurement points");
        break;
    case TransferRequest::HalDownload:
    case TransferRequest::HalErase:
        what = u"the horizontal alignment " + ListLine::WithoutLineEnd(f[0]) + u" holds no points";
        break;
    default:
        what = u"the vertical alignment " + ListLine::WithoutLineEnd(f[0]) + u" holds no points";
        break;
    }
    std::u16string message = std::u16string(title) + u": " + what;
    if (!consequence.empty()) {
        message += u"; " + std::u16string(consequence);
    }
    return message + u".";
}
