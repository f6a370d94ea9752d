#include "platform/CQelComDll.h"

#include "platform/TermiosSerialPro.h"

CQelComDll::CQelComDll() : CQelComDll([] { return std::make_unique<TermiosSerialPro>(); }) {}

CQelComDll::CQelComDll(Creator creator) : creator_(std::move(creator)) {}

CQelComDll::~CQelComDll() = default;

QelPtrObject* CQelComDll::CreateQelPtrObject() {
    if (!serial_ && creator_) {
        serial_ = creator_();
    }
    return serial_.get();
}
