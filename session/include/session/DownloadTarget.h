#pragma once

#include "session/SessionQuestions.h"

struct TransferRequest;

// Where a download goes when a file of its name is there already: that file
// is the user's data, so it is asked about first (a dangling link counts,
// writing would follow it). Replace keeps the request; keep both moves it to
// a free name beside the file.
class DownloadTarget {
public:
    // False when the user cancelled (or nobody answers); nothing was touched.
    static bool Settle(TransferRequest& request, SessionQuestions* questions);
};
