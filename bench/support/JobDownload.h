#pragma once

#include "protocol/TransferRequest.h"

namespace bench {

// The download the engine benchmarks time: job "1", its coordinates, in
// the first format.
inline TransferRequest JobDownload() {
    TransferRequest request;
    request.kind = TransferRequest::JobDownload;
    request.formatCode = u"0";
    request.partCode = u"COORDS";
    request.itemName = u"1";
    return request;
}

} // namespace bench
