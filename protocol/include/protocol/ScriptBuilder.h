#pragma once

#include "protocol/ScriptBuildResult.h"
#include "protocol/ScriptTable.h"
#include "protocol/TransferRequest.h"

class CodePage;

// Turns the catalogue into the concrete script of one request by replacing
// the placeholders of the steps the request's kind runs.
class ScriptBuilder {
public:
    explicit ScriptBuilder(const CodePage& codePage);

    // Rewrites `table` in place for the request (refilling it from the
    // templates first, except for HAL and VAL uploads and unknown kinds).
    // On refusal the table may be partly rewritten: callers build on a copy.
    ScriptBuildResult Build(const TransferRequest& request, ScriptTable& table) const;

    // Upload lines must fit the engine's send buffer with their CR LF.
    ScriptBuildResult CheckLines(const TransferRequest& request) const;

    static constexpr int kMaxLineBytes = 510;

private:
    const CodePage& codePage_;
};
