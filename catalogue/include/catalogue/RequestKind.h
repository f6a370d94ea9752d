#pragma once

#include "catalogue/EntryKind.h"

#include <optional>

// Which request kind (TransferRequest::Kind) acts on which category, the
// one table the dialogs, the monitor and the session read: formats have no
// request of their own, and a job's upload may also be its selecting form.
enum class RequestAction { Download, Erase, Upload };

// The request kind of the action on a category; none for formats and the
// other kinds.
std::optional<int> RequestKindOf(EntryKind category, RequestAction action);
// The category a request kind acts on; none for Empty and unknown numbers.
std::optional<EntryKind> CategoryOfRequest(int requestKind);
// What a request kind does; none for Empty and unknown numbers.
std::optional<RequestAction> ActionOfRequest(int requestKind);
