#include "protocol/ScriptTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// One row of the catalogue as the protocol documentation tables it.
struct Row {
    int step;
    std::string command;
    int length;
    std::string reply;
    int compared;
};

const std::string kWakeA = "a\r\n";
const std::string kWakeC = "c\r\n";
const std::string kEof = std::string("\x1A\r\n");
const std::string kEcho = "[KSTDDTPA],[KSTDDTP2],1,3";

const std::vector<Row> kConnect = {
    {0, "a\r\n", 3, "?", 1},
    {1, "c\r\n", 3, "?", 1},
    {2, "CONF/182\r\n", 10, "0182/0031", 9},
    {3, "CONF/136\r\n", 10, "0136/0000", 9},
    {4, "CONF/137\r\n", 10, "0137/0001", 8},
    {5, "GET//WI13\r\n", 11, "[KESTARES]DEVICE", 16},
    {6, "CODE/CONF/LIST\r\n", 16, "[KESTARES]COLIST", 16},
    {7, "[ASKHADDA]", 20, "[KESTARES]COLIST", 16},
    {8, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JBLIST", 16},
    {9, "[ASKHADDA]", 20, "[KESTARES]JBLIST", 16},
    {10, "FORM/CONF/LIST\r\n", 16, "[KESTARES]FOLIST", 16},
    {11, "[ASKHADDA]", 20, "[KESTARES]FOLIST", 16},
    {12, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALIST", 16},
    {13, "[ASKHADDA]", 20, "[KESTARES]HALIST", 16},
    {14, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALIST", 16},
    {15, "[ASKHADDA]", 20, "[KESTARES]VALIST", 16},
    {16, "[SENFINOD]", 20, "", 0},
};

const std::vector<Row> kDownload = {
    {0, "a\r\n", 3, "?", 1},
    {1, "c\r\n", 3, "?", 1},
    {2, "FORM/SET/[KSTDDTPA]\r\n", 21, kEcho, 16},
    {3, "JOB/RCV/[KSTDFTPA]/[XX]\r\n", 25, "[KESTARES]DATBAK", 16},
    {4, "[ASKHADDA]", 20, "[KESTARES]DATBAK", 16},
    {6, "a\r\n", 3, "?", 1},
    {7, "c\r\n", 3, "?", 1},
    {8, "FORM/SET/[KSTDDTPA]\r\n", 21, kEcho, 16},
    {9, "CODE/RCV/[XX]\r\n", 15, "[KESTARES]DATBAK", 16},
    {10, "[ASKHADDA]", 20, "[KESTARES]DATBAK", 16},
    {12, "a\r\n", 3, "?", 1},
    {13, "c\r\n", 3, "?", 1},
    {14, "HAL/RCV/[XX]\r\n", 14, "[KESTARES]DATBAK", 16},
    {15, "[ASKHADDA]", 20, "[KESTARES]DATBAK", 16},
    {17, "a\r\n", 3, "?", 1},
    {18, "c\r\n", 3, "?", 1},
    {19, "VAL/RCV/[XX]\r\n", 14, "[KESTARES]DATBAK", 16},
    {20, "[ASKHADDA]", 20, "[KESTARES]DATBAK", 16},
};

const std::vector<Row> kErase = {
    {0, "a\r\n", 3, "?", 1},
    {1, "c\r\n", 3, "?", 1},
    {2, "JOB/ERASE/[KSTDDTPA]/[XX]\r\n", 27, "?", 1},
    {3, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBRFS", 16},
    {4, "[ASKHADDA]", 20, "[KESTARES]JOBRFS", 16},
    {6, "a\r\n", 3, "?", 1},
    {7, "c\r\n", 3, "?", 1},
    {8, "CODE/ERASE/[XX]\r\n", 17, "?", 1},
    {9, "CODE/CONF/LIST\r\n", 16, "[KESTARES]CODRFS", 16},
    {10, "[ASKHADDA]", 20, "[KESTARES]CODRFS", 16},
    {12, "a\r\n", 3, "?", 1},
    {13, "c\r\n", 3, "?", 1},
    {14, "HAL/ERASE/[XX]\r\n", 16, "?", 1},
    {15, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALRFS", 16},
    {16, "[ASKHADDA]", 20, "[KESTARES]HALRFS", 16},
    {18, "a\r\n", 3, "?", 1},
    {19, "c\r\n", 3, "?", 1},
    {20, "VAL/ERASE/[XX]\r\n", 16, "?", 1},
    {21, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALRFS", 16},
    {22, "[ASKHADDA]", 20, "[KESTARES]VALRFS", 16},
};

const std::vector<Row> kUpload = {
    {0, "a\r\n", 3, "?", 1},
    {1, "c\r\n", 3, "?", 1},
    {2, "FORM/SET/[XX]\r\n", 15, kEcho, 16},
    {3, "JOB/SND/COORD/[XX]\r\n", 20, "[KSTDDTPA]", 9},
    {4, "[KSTDPCFD]\r\n", 12, "?", 1},
    {5, kEof, 3, "?", 1},
    {6, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBDEL", 16},
    {7, "[ASKHADDA]", 20, "[KESTARES]JOBRFS", 16},
    {9, "a\r\n", 3, "?", 1},
    {10, "c\r\n", 3, "?", 1},
    {11, "JOB/SET/[XXXX]/[XX]\r\n", 21, "[FILENAME]", 10},
    {12, "FORM/SET/[XX]\r\n", 15, kEcho, 16},
    {13, "JOB/SND/COORD/[XX]\r\n", 20, "?", 1},
    {14, "[KSTDPCFD]\r\n", 12, "?", 1},
    {15, kEof, 3, "?", 1},
    {16, "JOB/CONF/LIST\r\n", 15, "[KESTARES]JOBDEL", 16},
    {17, "[ASKHADDA]", 20, "[KESTARES]JOBRFS", 16},
    {19, "a\r\n", 3, "?", 1},
    {20, "c\r\n", 3, "?", 1},
    {21, "FORM/SET/[XX]\r\n", 15, kEcho, 16},
    {22, "CODE/SND/[XX]\r\n", 15, "[FILENAME]", 9},
    {23, "[KSTDPCFD]\r\n", 12, "?", 1},
    {24, kEof, 3, "?", 1},
    {25, "CODE/CONF/LIST\r\n", 16, "[KESTARES]CODDEL", 16},
    {26, "[ASKHADDA]", 20, "[KESTARES]CODRFS", 16},
    {28, "a\r\n", 3, "?", 1},
    {29, "c\r\n", 3, "?", 1},
    {30, "HAL/SND/[XX]\r\n", 14, "RoadHal,1,0", 11},
    {31, "[KSTDPCFD]\r\n", 12, "?", 1},
    {32, kEof, 3, "?", 1},
    {33, "HAL/CONF/LIST\r\n", 15, "[KESTARES]HALDEL", 16},
    {34, "[ASKHADDA]", 20, "[KESTARES]HALRFS", 16},
    {36, "a\r\n", 3, "?", 1},
    {37, "c\r\n", 3, "?", 1},
    {38, "VAL/SND/0\r\n", 11, "RoadVal,1,0", 11},
    {39, "[KSTDPCFD]\r\n", 12, "?", 1},
    {40, kEof, 3, "?", 1},
    {41, "VAL/CONF/LIST\r\n", 15, "[KESTARES]VALDEL", 16},
    {42, "[ASKHADDA]", 20, "[KESTARES]VALRFS", 16},
};

void ExpectScript(const ScriptTable& table, int script, const std::vector<Row>& rows) {
    std::set<int> listed;
    for (const Row& row : rows) {
        SCOPED_TRACE("script " + std::to_string(script) + " step " + std::to_string(row.step));
        listed.insert(row.step);
        EXPECT_EQ(table.Command(script, row.step), row.command);
        EXPECT_EQ(table.scripts[script].commandLength[row.step], row.length);
        EXPECT_EQ(table.Reply(script, row.step), row.reply);
        EXPECT_EQ(table.scripts[script].replyLength[row.step], row.compared);
    }
    // Every step not in the table is an all-zero end step.
    const ScriptTable::Slot empty{};
    for (int step = 0; step < ScriptTable::kStepCount; ++step) {
        if (listed.count(step) != 0) {
            continue;
        }
        SCOPED_TRACE("unlisted step " + std::to_string(step));
        EXPECT_EQ(table.scripts[script].command[step], empty);
        EXPECT_EQ(table.scripts[script].reply[step], empty);
        EXPECT_EQ(table.scripts[script].commandLength[step], 0);
        EXPECT_EQ(table.scripts[script].replyLength[step], 0);
    }
}

} // namespace

TEST(ScriptTable, FillWritesEveryScriptExactlyAsCatalogued) {
    ScriptTable table;
    table.stepIndex = 17;
    table.WriteCommand(0, 30, "left over");
    FillScriptTable(table);
    EXPECT_EQ(table.stepIndex, 0);
    ExpectScript(table, 0, kConnect);
    ExpectScript(table, 1, kDownload);
    ExpectScript(table, 2, kErase);
    ExpectScript(table, 3, kUpload);
}

TEST(ScriptTable, EndOfFileStepIsCtrlZCrLf) {
    ScriptTable table;
    FillScriptTable(table);
    for (int step : {5, 15, 24, 32, 40}) {
        const ScriptTable::Slot& slot = table.scripts[3].command[step];
        EXPECT_EQ(slot[0], '\x1A');
        EXPECT_EQ(slot[1], '\r');
        EXPECT_EQ(slot[2], '\n');
        EXPECT_EQ(slot[3], '\0');
    }
}

TEST(ScriptTable, SlotsRefuseTextsThatDoNotFit) {
    ScriptTable table;
    FillScriptTable(table);
    EXPECT_TRUE(table.WriteCommand(1, 3, std::string(99, 'x')));
    EXPECT_EQ(table.scripts[1].commandLength[3], 99);
    EXPECT_EQ(table.scripts[1].command[3][99], '\0');
    EXPECT_FALSE(table.WriteReply(1, 3, std::string(100, 'y')));
    EXPECT_EQ(table.Reply(1, 3), "[KESTARES]DATBAK");
    EXPECT_FALSE(table.WriteCommand(4, 0, "x"));
    EXPECT_FALSE(table.WriteCommand(0, 50, "x"));
    EXPECT_EQ(table.Command(0, 50), "");
}

TEST(ScriptTable, ShorterRewriteClearsTheWholeOldText) {
    ScriptTable table;
    FillScriptTable(table);
    ASSERT_TRUE(table.WriteCommand(1, 3, "X\r\n"));
    const ScriptTable::Slot& slot = table.scripts[1].command[3];
    for (int i = 3; i < ScriptTable::kSlotSize; ++i) {
        EXPECT_EQ(slot[i], '\0') << i;
    }
    EXPECT_EQ(table.scripts[1].commandLength[3], 3);
}
