#pragma once

#include "session/SessionQuestions.h"

struct TransferRequest;

// Where a download goes when a file of its name is there already: that file
// is the user's data, so it is asked about first (a dangling link counts,
// writing would follow it). Replace keeps the request and lets the download
// replace that file; keep both moves it to the free name the question showed.
// A download never replaces a file it was not allowed to: one that appears
// meanwhile fails it, and what arrived stays in its partial file.
class DownloadTarget {
public:
    // False when the user cancelled (or nobody answers); nothing was touched.
    static bool Settle(TransferRequest& request, SessionQuestions* questions);
};
