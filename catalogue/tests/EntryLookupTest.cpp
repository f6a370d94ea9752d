#include "catalogue/EntryLookup.h"

#include "catalogue/ReplyDispatcher.h"
#include "catalogue/TransferMonitor.h"

#include <gtest/gtest.h>

#include <string>

// A user names an entry by its label, its name (a job's with or without its
// storage prefix) or its number; a text that fits several names none.
TEST(EntryLookup, LabelNameOrNumberAndAmbiguity) {
    DeviceModel model;
    DeviceListing listing;
    TransferMonitor monitor;
    ReplyDispatcher dispatcher(model, listing, monitor);
    listing.Connect(u"COM1");
    for (const std::string line :
         {"IN:BRIDGE,1,24,36\r\n", "IN:ROAD7,2,48,0\r\n", "XX:ROAD7,7,1,1\r\n", "1,9,0,0\r\n"}) {
        dispatcher.OnDeviceReply("JBLIST", line.data(), static_cast<int>(line.size()));
    }
    struct Case {
        std::u16string text;
        std::u16string label;
        std::vector<std::u16string> candidates;
    };
    const Case cases[] = {
        {u"JobList:1 [IN:BRIDGE]", u"JobList:1 [IN:BRIDGE]", {}},
        {u"BRIDGE", u"JobList:1 [IN:BRIDGE]", {}},
        {u"IN:BRIDGE", u"JobList:1 [IN:BRIDGE]", {}},
        {u"2", u"JobList:2 [IN:ROAD7]", {}},
        {u"ROAD7", u"", {u"JobList:2 [IN:ROAD7]", u"JobList:7 [XX:ROAD7]"}},
        // "1" is job 1's number and job 9's name.
        {u"1", u"", {u"JobList:1 [IN:BRIDGE]", u"JobList:9 [1]"}},
        {u"nothing", u"", {}},
    };
    for (const Case& c : cases) {
        const auto found = EntryLookup::Find(listing, model, EntryKind::Job, c.text);
        EXPECT_EQ(found.label, c.label) << DeviceListing::Utf8(c.text);
        EXPECT_EQ(found.candidates, c.candidates) << DeviceListing::Utf8(c.text);
    }
}
