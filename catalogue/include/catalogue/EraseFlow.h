#pragma once

#include "protocol/TransferRequest.h"

#include <optional>
#include <string>
#include <string_view>

// The decisions of erasing an entry on the instrument: which dialog mode
// its category takes, and whether the choice made in the dialog leaves
// something to erase.
class EraseFlow {
public:
    static constexpr std::u16string_view kDelError = u"Del error";
    static constexpr std::u16string_view kJobEmpty = u"Data NULL";
    static constexpr std::u16string_view kPointsEmpty = u"Data Null";

    // The delete dialog's mode for a category text: 4 "JOB", 5 "COD",
    // 6 "HAL", 7 "VAL"; none for others ("FOR" entries are not erased).
    static std::optional<int> DialogMode(std::u16string_view category);

    struct Decision {
        std::optional<TransferRequest> request; // set when the erase is to run
        std::u16string refusal;                 // the message otherwise
        std::u16string subject;                 // with the request: Subject()
    };
    // After OK in the dialog: the request for the entry's stored line and the
    // chosen part ("COORDS" or "OBSERV", jobs only), or why nothing is sent
    // ("Data NULL: ROAD7 holds no measurement points; nothing was erased.").
    static Decision Decide(int mode, std::u16string_view storedLine, std::u16string_view part);

    // What the erase takes away, for the dialog to say before OK: "18
    // measurement points of SITE03", "the code list TOPO", "the horizontal
    // alignment MAINST (6 points)". Empty for a job part that is neither
    // "COORDS" nor "OBSERV" (none chosen yet).
    static std::u16string WhatIsErased(int mode, std::u16string_view storedLine,
                                       std::u16string_view part);

    // What an erase takes away, as its end messages name it: "the
    // measurement points of SITE03", "the code list TOPO".
    static std::u16string Subject(int mode, std::u16string_view storedLine,
                                  std::u16string_view part);

    // What the delete dialog says for a part ("" for code lists and HAL or
    // VAL entries) and whether its OK may be pressed: "OK erases 18
    // measurement points of SITE03.", or why there is nothing to erase.
    struct Note {
        std::u16string text;
        bool erasable = false;
    };
    static Note DialogNote(int mode, std::u16string_view storedLine, std::u16string_view part);
};
