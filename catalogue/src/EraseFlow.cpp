#include "catalogue/EraseFlow.h"

#include "catalogue/EmptyPart.h"
#include "catalogue/EntryKind.h"
#include "catalogue/ListLine.h"
#include "catalogue/RequestKind.h"

namespace {

std::u16string Number(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

constexpr std::u16string_view kNothingErased = u"nothing was erased";

} // namespace

std::optional<int> EraseFlow::DialogMode(std::u16string_view category) {
    const auto kind = CategoryOf(category);
    return kind ? RequestKindOf(*kind, RequestAction::Erase) : std::nullopt;
}

EraseFlow::Decision EraseFlow::Decide(int mode, std::u16string_view storedLine,
                                      std::u16string_view part) {
    const auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    const auto countIsZero = [&f](std::size_t i) {
        return i >= f.size() || ListLine::ReadDecimal(f[i]) == 0;
    };
    // Without the item's address there is nothing the command could name.
    if (f.size() < 2 || mode < TransferRequest::JobErase || mode > TransferRequest::ValErase) {
        return {std::nullopt, std::u16string(kDelError), {}};
    }
    if (mode == TransferRequest::JobErase &&
        ((part == u"COORDS" && countIsZero(2)) || (part == u"OBSERV" && countIsZero(3)))) {
        return {std::nullopt,
                EmptyPart::Message(kJobEmpty, mode, storedLine, part, kNothingErased),
                {}};
    }
    if ((mode == TransferRequest::HalErase || mode == TransferRequest::ValErase) &&
        countIsZero(2)) {
        return {std::nullopt,
                EmptyPart::Message(kPointsEmpty, mode, storedLine, part, kNothingErased),
                {}};
    }
    TransferRequest request;
    request.kind = mode;
    request.itemName = f[1];
    if (mode == TransferRequest::JobErase) {
        request.partCode = part;
    }
    return {std::move(request), {}, Subject(mode, storedLine, part)};
}

std::u16string EraseFlow::Subject(int mode, std::u16string_view storedLine,
                                  std::u16string_view part) {
    const auto f = ListLine::Split(storedLine, ListLine::kStoredFields);
    if (f.size() < 2) {
        return {};
    }
    const std::u16string name = ListLine::WithoutLineEnd(f[0]);
    switch (mode) {
    case TransferRequest::JobErase: {
        const std::u16string job = EmptyPart::JobName(f);
        if (part == u"COORDS") {
            return u"the fixed points of " + job;
        }
        if (part == u"OBSERV") {
            return u"the measurement points of " + job;
        }
        return u"the " + std::u16string(part) + u" part of " + job;
    }
    case TransferRequest::CodeErase:
        return u"the code list " + name;
    case TransferRequest::HalErase:
        return u"the horizontal alignment " + name;
    case TransferRequest::ValErase:
        return u"the vertical alignment " + name;
    default:
        return {};
    }
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
            return count(2) + u" fixed points of " + EmptyPart::JobName(f);
        }
        if (part == u"OBSERV") {
            return count(3) + u" measurement points of " + EmptyPart::JobName(f);
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

EraseFlow::Note EraseFlow::DialogNote(int mode, std::u16string_view storedLine,
                                      std::u16string_view part) {
    const bool job = mode == TransferRequest::JobErase;
    if (job && part != u"COORDS" && part != u"OBSERV") {
        return {u"Choose the part to erase.", false};
    }
    const Decision decision = Decide(mode, storedLine, part);
    if (!decision.request) {
        // The dialog says it before OK; the refusal's consequence is for after.
        const std::u16string& refusal = decision.refusal;
        const std::size_t cut = refusal.find(u"; ");
        return {cut == std::u16string::npos ? refusal : refusal.substr(0, cut) + u".", false};
    }
    const std::u16string erased = WhatIsErased(mode, storedLine, part);
    return {erased.empty() ? std::u16string() : u"OK erases " + erased + u".", true};
}
