#pragma once

#include "platform/QelTaskPool.h"

#include <memory>

// Makes the task pool of a link and owns it: the pool lives as long as the
// factory, whatever the caller keeps of the reference.
class QelPtrFactory {
public:
    QelPtrFactory() = default;
    ~QelPtrFactory();
    QelPtrFactory(const QelPtrFactory&) = delete;
    QelPtrFactory& operator=(const QelPtrFactory&) = delete;

    // Returns the factory's pool (made on the first call).
    QelPtrObject* CreateQelPtrObject();

private:
    std::unique_ptr<QelTaskPool> pool_;
};
