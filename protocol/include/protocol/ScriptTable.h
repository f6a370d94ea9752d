#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The command catalogue: four scripts of fixed steps. A step pairs the text
// sent to the instrument with the reply expected back; texts live in
// NUL-terminated 100-character slots.
struct ScriptTable {
    static constexpr int kScriptCount = 4;
    static constexpr int kStepCount = 50;
    static constexpr int kSlotSize = 100;
    static constexpr int kMaxText = kSlotSize - 1;

    // The four scripts, by what they do.
    static constexpr int kConnectScript = 0;
    static constexpr int kDownloadScript = 1;
    static constexpr int kEraseScript = 2;
    static constexpr int kUploadScript = 3;

    // Where an operation begins: a script and its first step.
    struct Start {
        int script = -1;
        int step = 0;
        bool operator==(const Start&) const = default;
    };

    using Slot = std::array<char, kSlotSize>;

    struct Script {
        std::array<Slot, kStepCount> command{};
        std::array<std::int32_t, kStepCount> commandLength{};
        std::array<Slot, kStepCount> reply{};
        std::array<std::int32_t, kStepCount> replyLength{};
    };

    std::int32_t stepIndex = 0;
    std::array<Script, kScriptCount> scripts{};

    // The slot text up to its NUL.
    std::string_view Command(int script, int step) const;
    std::string_view Reply(int script, int step) const;
    // Replace a slot's text and set its length field to the new text's length.
    // Refused (false, nothing changed) when the text does not fit the slot.
    bool WriteCommand(int script, int step, std::string_view text);
    bool WriteReply(int script, int step, std::string_view text);

    static bool InRange(int script, int step);

    // The row at which a request kind (TransferRequest::Kind) begins, as the
    // catalogue names it; script -1 for a kind that begins nowhere.
    static Start StartOf(std::int32_t kind);
    // The connect script, and the abort's wake steps, begin at its first row.
    static constexpr Start ConnectStart() { return {kConnectScript, 0}; }
};

// Clears every step of all four scripts, sets stepIndex to 0 and writes the
// catalogue's templates.
void FillScriptTable(ScriptTable& table);
