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
};

// Clears every step of all four scripts, sets stepIndex to 0 and writes the
// catalogue's templates.
void FillScriptTable(ScriptTable& table);
