#include "protocol/ScriptTable.h"

#include "protocol/TransferRequest.h"

#include <algorithm>
#include <cstring>

namespace {

struct Template {
    int script;
    int step;
    const char* command;
    int commandLength;
    const char* reply;
    int replyLength;
    // The request kind whose operation begins at this row, if any.
    std::int32_t starts = TransferRequest::Empty;
};

constexpr const char* kPoll = "[ASKHADDA]";
constexpr const char* kFinish = "[SENFINOD]";
constexpr const char* kFileData = "[KSTDPCFD]\r\n";
constexpr const char* kEndOfFile = "\x1A\r\n";
constexpr const char* kAck = "?";
constexpr const char* kFormatEcho = "[KSTDDTPA],[KSTDDTP2],1,3";

using K = TransferRequest;

// The steps that begin every operation: wake the instrument and clear it.
// The first names the request kind that begins there.
#define WAKE(s, k, kind)                                                                           \
    {s, k, "a\r\n", 3, kAck, 1, kind}, {                                                           \
        s, k + 1, "c\r\n", 3, kAck, 1                                                              \
    }

constexpr Template kTemplates[] = {
    // Script 0: connect and read the instrument's lists.
    WAKE(0, 0, K::Empty),
    {0, 2, "CONF/182\r\n", 10, "0182/0031", 9},
    {0, 3, "CONF/136\r\n", 10, "0136/0000", 9},
    {0, 4, "CONF/137\r\n", 10, "0137/0001", 8},
    {0, 5, "GET//WI13\r\n", 11, "[KESTARES]DEVICE", 16},
    {0, 6, "CODE/CONF/LIST\r\n", 16, "[KESTARES]COLIST", 16},
    {0, 7, kPoll, 20, "[KESTARES]COLIST", 16},
    {0, 8, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JBLIST", 16},
    {0, 9, kPoll, 20, "[KESTARES]JBLIST", 16},
    {0, 10, "FORM/CONF/LIST\r\n", 16, "[KESTARES]FOLIST", 16},
    {0, 11, kPoll, 20, "[KESTARES]FOLIST", 16},
    {0, 12, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALIST", 16},
    {0, 13, kPoll, 20, "[KESTARES]HALIST", 16},
    {0, 14, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALIST", 16},
    {0, 15, kPoll, 20, "[KESTARES]VALIST", 16},
    {0, 16, kFinish, 20, "", 0},

    // Script 1: downloads.
    WAKE(1, 0, K::JobDownload),
    {1, 2, "FORM/SET/[KSTDDTPA]\r\n", 21, kFormatEcho, 16},
    {1, 3, "JOB/RCV/[KSTDFTPA]/[XX]\r\n", 25, "[KESTARES]DATBAK", 16},
    {1, 4, kPoll, 20, "[KESTARES]DATBAK", 16},
    WAKE(1, 6, K::CodeDownload),
    {1, 8, "FORM/SET/[KSTDDTPA]\r\n", 21, kFormatEcho, 16},
    {1, 9, "CODE/RCV/[XX]\r\n", 15, "[KESTARES]DATBAK", 16},
    {1, 10, kPoll, 20, "[KESTARES]DATBAK", 16},
    WAKE(1, 12, K::HalDownload),
    {1, 14, "HAL/RCV/[XX]\r\n", 14, "[KESTARES]DATBAK", 16},
    {1, 15, kPoll, 20, "[KESTARES]DATBAK", 16},
    WAKE(1, 17, K::ValDownload),
    {1, 19, "VAL/RCV/[XX]\r\n", 14, "[KESTARES]DATBAK", 16},
    {1, 20, kPoll, 20, "[KESTARES]DATBAK", 16},

    // Script 2: erase, then read the category's list again.
    WAKE(2, 0, K::JobErase),
    {2, 2, "JOB/ERASE/[KSTDDTPA]/[XX]\r\n", 27, kAck, 1},
    {2, 3, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBRFS", 16},
    {2, 4, kPoll, 20, "[KESTARES]JOBRFS", 16},
    WAKE(2, 6, K::CodeErase),
    {2, 8, "CODE/ERASE/[XX]\r\n", 17, kAck, 1},
    {2, 9, "CODE/CONF/LIST\r\n", 16, "[KESTARES]CODRFS", 16},
    {2, 10, kPoll, 20, "[KESTARES]CODRFS", 16},
    WAKE(2, 12, K::HalErase),
    {2, 14, "HAL/ERASE/[XX]\r\n", 16, kAck, 1},
    {2, 15, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALRFS", 16},
    {2, 16, kPoll, 20, "[KESTARES]HALRFS", 16},
    WAKE(2, 18, K::ValErase),
    {2, 20, "VAL/ERASE/[XX]\r\n", 16, kAck, 1},
    {2, 21, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALRFS", 16},
    {2, 22, kPoll, 20, "[KESTARES]VALRFS", 16},

    // Script 3: uploads, then read the category's list again.
    WAKE(3, 0, K::JobUpload),
    {3, 2, "FORM/SET/[XX]\r\n", 15, kFormatEcho, 16},
    {3, 3, "JOB/SND/COORD/[XX]\r\n", 20, "[KSTDDTPA]", 9},
    {3, 4, kFileData, 12, kAck, 1},
    {3, 5, kEndOfFile, 3, kAck, 1},
    {3, 6, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBDEL", 16},
    {3, 7, kPoll, 20, "[KESTARES]JOBRFS", 16},
    WAKE(3, 9, K::JobUploadSelect),
    {3, 11, "JOB/SET/[XXXX]/[XX]\r\n", 21, "[FILENAME]", 10},
    {3, 12, "FORM/SET/[XX]\r\n", 15, kFormatEcho, 16},
    {3, 13, "JOB/SND/COORD/[XX]\r\n", 20, kAck, 1},
    {3, 14, kFileData, 12, kAck, 1},
    {3, 15, kEndOfFile, 3, kAck, 1},
    {3, 16, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBDEL", 16},
    {3, 17, kPoll, 20, "[KESTARES]JOBRFS", 16},
    WAKE(3, 19, K::CodeUpload),
    {3, 21, "FORM/SET/[XX]\r\n", 15, kFormatEcho, 16},
    {3, 22, "CODE/SND/[XX]\r\n", 15, "[FILENAME]", 9},
    {3, 23, kFileData, 12, kAck, 1},
    {3, 24, kEndOfFile, 3, kAck, 1},
    {3, 25, "CODE/CONF/LIST\r\n", 16, "[KESTARES]CODDEL", 16},
    {3, 26, kPoll, 20, "[KESTARES]CODRFS", 16},
    WAKE(3, 28, K::HalUpload),
    {3, 30, "HAL/SND/[XX]\r\n", 14, "RoadHal,1,0", 11},
    {3, 31, kFileData, 12, kAck, 1},
    {3, 32, kEndOfFile, 3, kAck, 1},
    {3, 33, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALDEL", 16},
    {3, 34, kPoll, 20, "[KESTARES]HALRFS", 16},
    WAKE(3, 36, K::ValUpload),
    {3, 38, "VAL/SND/0\r\n", 11, "RoadVal,1,0", 11},
    {3, 39, kFileData, 12, kAck, 1},
    {3, 40, kEndOfFile, 3, kAck, 1},
    {3, 41, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALDEL", 16},
    {3, 42, kPoll, 20, "[KESTARES]VALRFS", 16},
};

#undef WAKE

std::string_view SlotText(const ScriptTable::Slot& slot) {
    return {slot.data(),
            static_cast<std::size_t>(std::find(slot.begin(), slot.end(), '\0') - slot.begin())};
}

bool WriteSlot(ScriptTable::Slot& slot, std::int32_t& length, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(ScriptTable::kMaxText)) {
        return false;
    }
    slot.fill('\0');
    std::copy(text.begin(), text.end(), slot.begin());
    length = static_cast<std::int32_t>(text.size());
    return true;
}

} // namespace

ScriptTable::Start ScriptTable::StartOf(std::int32_t kind) {
    if (kind == TransferRequest::Empty) {
        return {};
    }
    for (const Template& t : kTemplates) {
        if (t.starts == kind) {
            return {t.script, t.step};
        }
    }
    return {};
}

bool ScriptTable::InRange(int script, int step) {
    return script >= 0 && script < kScriptCount && step >= 0 && step < kStepCount;
}

std::string_view ScriptTable::Command(int script, int step) const {
    return InRange(script, step) ? SlotText(scripts[script].command[step]) : std::string_view();
}

std::string_view ScriptTable::Reply(int script, int step) const {
    return InRange(script, step) ? SlotText(scripts[script].reply[step]) : std::string_view();
}

bool ScriptTable::WriteCommand(int script, int step, std::string_view text) {
    return InRange(script, step) &&
           WriteSlot(scripts[script].command[step], scripts[script].commandLength[step], text);
}

bool ScriptTable::WriteReply(int script, int step, std::string_view text) {
    return InRange(script, step) &&
           WriteSlot(scripts[script].reply[step], scripts[script].replyLength[step], text);
}

void FillScriptTable(ScriptTable& table) {
    table.stepIndex = 0;
    table.scripts = {};
    for (const Template& t : kTemplates) {
        // Template lengths are the catalogue's own (a poll step's 20 is not
        // its text length), so they are set after the texts.
        table.WriteCommand(t.script, t.step, t.command);
        table.WriteReply(t.script, t.step, t.reply);
        table.scripts[t.script].commandLength[t.step] = t.commandLength;
        table.scripts[t.script].replyLength[t.step] = t.replyLength;
    }
}
