#include "platform/QelPtrFactory.h"

QelPtrFactory::~QelPtrFactory() = default;

QelPtrObject* QelPtrFactory::CreateQelPtrObject() {
    if (!pool_) {
        pool_ = std::make_unique<QelTaskPool>();
    }
    return pool_.get();
}
