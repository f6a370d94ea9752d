#include "protocol/PortList.h"
#include "platform/ComPortMap.h"

#include <gtest/gtest.h>

namespace {

PortList ListOf(std::vector<std::string> names) {
    std::vector<ComPort> ports;
    for (const auto& name : names) {
        ports.push_back({name, "/dev/" + name, "test port"});
    }
    return PortList::FromComPorts(ports);
}

} // namespace

TEST(PortList, KeepsComNamesWithDigitsInTheOrderFound) {
    const PortList list = ListOf({"COM1", "COM10", "COMX", "COM", "com3", "COM01", "LPT1"});
    EXPECT_EQ(list.Names(), (std::vector<std::u16string>{u"COM1", u"COM10", u"COM3"}));
    ASSERT_NE(list.Find(u"COM3"), nullptr);
    EXPECT_EQ(list.Find(u"COM3")->deviceFile, "/dev/com3");
    EXPECT_EQ(list.Find(u"COM3")->description, "test port");
    EXPECT_EQ(list.Find(u"com3"), nullptr);
}

TEST(PortList, NewRecordsHoldTheDefaults) {
    const PortList list = ListOf({"COM4"});
    const PortSettings& settings = list.Ports().at(0).settings;
    EXPECT_EQ(settings.portName, u"COM4");
    EXPECT_EQ(settings.baudRate, u"19200");
    EXPECT_EQ(settings.stopBits, u"0");
    EXPECT_EQ(settings.parity, u"0");
    EXPECT_EQ(settings.dataBits, u"8");
}

TEST(PortList, ChoiceChangesOnlyTheChosenPort) {
    PortList list = ListOf({"COM1", "COM2"});
    EXPECT_TRUE(list.ApplyChoice({u"COM2", u"9600", u"ODD", u"1", u"7"}));
    const PortSettings& chosen = list.Find(u"COM2")->settings;
    EXPECT_EQ(chosen.baudRate, u"9600");
    EXPECT_EQ(chosen.parity, u"1");
    EXPECT_EQ(chosen.stopBits, u"1");
    EXPECT_EQ(chosen.dataBits, u"7");
    EXPECT_EQ(list.Find(u"COM1")->settings.parity, u"0");
    EXPECT_EQ(list.Find(u"COM1")->settings.baudRate, u"19200");

    EXPECT_TRUE(list.ApplyChoice({u"COM2", u"115200", u"EVEN", u"0", u"8"}));
    EXPECT_EQ(list.Find(u"COM2")->settings.parity, u"2");
    EXPECT_TRUE(list.ApplyChoice({u"COM2", u"115200", u"NONE", u"0", u"8"}));
    EXPECT_EQ(list.Find(u"COM2")->settings.parity, u"0");
}

TEST(PortList, ChoiceForAnUnknownPortChangesNothing) {
    PortList list = ListOf({"COM1"});
    EXPECT_FALSE(list.ApplyChoice({u"COM9", u"1200", u"ODD", u"1", u"7"}));
    EXPECT_FALSE(list.ApplyChoice({u"com1", u"1200", u"ODD", u"1", u"7"}));
    EXPECT_EQ(list.Find(u"COM1")->settings.baudRate, u"19200");
    EXPECT_EQ(list.Find(u"COM1")->settings.parity, u"0");
}

// The dialog shows a configured port's settings; a port never configured has none.
TEST(PortList, StoredChoiceGivesBackWhatWasChosen) {
    PortList list = ListOf({"COM1", "COM2"});
    EXPECT_FALSE(list.StoredChoice(u"COM2"));
    for (const PortChoice& choice : {PortChoice{u"COM2", u"9600", u"ODD", u"1", u"7"},
                                     PortChoice{u"COM2", u"1200", u"EVEN", u"0", u"8"},
                                     PortChoice{u"COM2", u"115200", u"NONE", u"1", u"8"}}) {
        ASSERT_TRUE(list.ApplyChoice(choice));
        const auto stored = list.StoredChoice(u"COM2");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->port, choice.port);
        EXPECT_EQ(stored->baudRate, choice.baudRate);
        EXPECT_EQ(stored->parity, choice.parity);
        EXPECT_EQ(stored->stopBits, choice.stopBits);
        EXPECT_EQ(stored->dataBits, choice.dataBits);
    }
    EXPECT_FALSE(list.StoredChoice(u"COM1"));
    EXPECT_FALSE(list.StoredChoice(u"COM9"));
}

// Adapters plugged in and out while the program runs: a port keeps its name
// and settings while its device stays, whatever a fresh numbering says.
TEST(PortList, UpdateKeepsNamesWhileTheirDeviceStays) {
    PortList list = PortList::FromComPorts({{"COM1", "/dev/ttyACM0", "modem"}});
    ASSERT_TRUE(list.ApplyChoice({u"COM1", u"9600", u"ODD", u"1", u"7"}));
    list.Update({{"COM1", "/dev/ttyUSB0", "adapter"}, {"COM2", "/dev/ttyACM0", "modem"}});
    EXPECT_EQ(list.Find(u"COM1")->settings.baudRate, u"9600");
    list = PortList::FromComPorts({{"COM1", "/dev/ttyACM0", "modem"}});
    struct Step {
        std::vector<ComPort> now;
        bool changed;
        std::vector<std::pair<std::u16string, std::string>> shown; // name, device
    };
    const Step steps[] = {
        // A USB adapter comes first in a fresh numbering.
        {{{"COM1", "/dev/ttyUSB0", "adapter"}, {"COM2", "/dev/ttyACM0", "modem"}},
         true,
         {{u"COM1", "/dev/ttyACM0"}, {u"COM2", "/dev/ttyUSB0"}}},
        {{{"COM1", "/dev/ttyUSB0", "adapter"}, {"COM2", "/dev/ttyACM0", "modem"}},
         false,
         {{u"COM1", "/dev/ttyACM0"}, {u"COM2", "/dev/ttyUSB0"}}},
        // The modem goes, and comes back under the lowest free name.
        {{{"COM1", "/dev/ttyUSB0", "adapter"}}, true, {{u"COM2", "/dev/ttyUSB0"}}},
        {{{"COM1", "/dev/ttyUSB0", "adapter (by-id)"}, {"COM2", "/dev/ttyACM0", "modem"}},
         true,
         {{u"COM2", "/dev/ttyUSB0"}, {u"COM1", "/dev/ttyACM0"}}},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(list.Update(step.now), step.changed);
        std::vector<std::pair<std::u16string, std::string>> shown;
        for (const PortList::Port& port : list.Ports()) {
            shown.emplace_back(port.settings.portName, port.deviceFile);
        }
        EXPECT_EQ(shown, step.shown);
    }
    // The modem that came back is a new port; descriptions follow the system.
    EXPECT_EQ(list.Find(u"COM1")->settings.baudRate, u"19200");
    EXPECT_EQ(list.Find(u"COM2")->description, "adapter (by-id)");
    EXPECT_FALSE(list.Rescan()); // no source: the list stays
}
