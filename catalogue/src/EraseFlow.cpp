#include "catalogue/EraseFlow.h"

#include "catalogue/EntryKind.h"
#include "catalogue/ListLine.h"

namespace {

std::u16string Number(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// A job's name without the instrument's three-character storage prefix, as
// the download offers it; the job's number when it has no name.
std::u16string JobName(const std::vector<std::u16string>& f) {
    if (f[0].size() > 3) {
        return f[0].substr(3);
    }
    return u"job " + ListLine::WithoutLineEnd(f[1]);
}

} // namespace

std::optional<int> EraseFlow::LevelsToEntry(int depth) {
    if (depth >= 4) {
        return 1;
    }
    if (depth == 3) {
        return 0;
    }
    return std::nullopt;
}

std::optional<int> EraseFlow::DialogMode(std::u16string_view category) {
    const auto kind = CategoryOf(category);
    if (!kind) {
        return std::nullopt;
    }
    switch (*kind) {
    case EntryKind::Job:
        return TransferRequest::JobErase;
    case EntryKind::Code:
        return TransferRequest::CodeErase;
    case EntryKind::Hal:
        return TransferRequest::HalErase;
    case EntryKind::Val:
        return TransferRequest::ValErase;
    default:
        return std::nullopt;
    }
}

EraseFlow::Decision EraseFlow::Decide(int mode, std::u16string_view storedLine,
                                      std::u16string_view part) {
    const auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    const auto countIsZero = [&f](std::size_t i) {
        return i >= f.size() || ListLine::ReadDecimal(f[i]) == 0;
    };
    // Without the item's address there is nothing the command could name.
    if (f.size() < 2 || mode < TransferRequest::JobErase || mode > TransferRequest::ValErase) {
        return {std::nullopt, std::u16string(kDelError)};
    }
    if (mode == TransferRequest::JobErase &&
        ((part == u"COORDS" && countIsZero(2)) || (part == u"OBSERV" && countIsZero(3)))) {
        return {std::nullopt, std::u16string(kJobEmpty)};
    }
    if ((mode == TransferRequest::HalErase || mode == TransferRequest::ValErase) &&
        countIsZero(2)) {
        return {std::nullopt, std::u16string(kPointsEmpty)};
    }
    TransferRequest request;
    request.kind = mode;
    request.itemName = f[1];
    if (mode == TransferRequest::JobErase) {
        request.partCode = part;
    }
    return {std::move(request), {}};
}

std::u16string EraseFlow::WhatIsErased(int mode, std::u16string_view storedLine,
                                       std::u16string_view part) {
    const auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    if (f.size() < 2) {
        return {};
    }
    const auto count = [&f](std::size_t i) {
        return Number(i < f.size() ? ListLine::ReadDecimal(f[i]) : 0);
    };
    const std::u16string name = ListLine::WithoutLineEnd(f[0]);
    switch (mode) {
    case TransferRequest::JobErase:
        if (part == u"COORDS") {
            return count(2) + u" fixed points of " + JobName(f);
        }
        if (part == u"OBSERV") {
            return count(3) + u" measurement points of " + JobName(f);
        }
        return {};
    case TransferRequest::CodeErase:
        return u"the code list " + name;
    case TransferRequest::HalErase:
        return u"the horizontal alignment " + name + u" (" + count(2) + u" points)";
    case TransferRequest::ValErase:
        return u"the vertical alignment " + name + u" (" + count(2) + u" points)";
    default:
        return {};
    }
}
