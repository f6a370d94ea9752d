#pragma once

#include "platform/QelSerialPro.h"

#include <functional>
#include <memory>

// Makes the serial port object of a link and owns it.
class CQelComDll {
public:
    using Creator = std::function<std::unique_ptr<QelSerialPro>()>;

    // A real serial port (TermiosSerialPro).
    CQelComDll();
    explicit CQelComDll(Creator creator);
    ~CQelComDll();
    CQelComDll(const CQelComDll&) = delete;
    CQelComDll& operator=(const CQelComDll&) = delete;

    // Returns the port object (made on the first call).
    QelPtrObject* CreateQelPtrObject();

private:
    Creator creator_;
    std::unique_ptr<QelSerialPro> serial_;
};
