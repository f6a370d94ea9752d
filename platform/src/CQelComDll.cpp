#include "platform/CQelComDll.h"

CQelComDll::CQelComDll(Creator creator) : creator_(std::move(creator)) {}

CQelComDll::~CQelComDll() = default;

QelPtrObject* CQelComDll::CreateQelPtrObject() {
    if (!serial_ && creator_) {
        serial_ = creator_();
    }
    return serial_.get();
}
