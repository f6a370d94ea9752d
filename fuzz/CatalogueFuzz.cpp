// The list-line parsing and entry building, through the reply dispatcher as
// the engine calls it: a run of replies, each a tag byte (an index into the
// engine's tags) and a line up to and including its LF.
#include "FuzzCheck.h"
#include "catalogue/DeviceEntry.h"
#include "catalogue/DeviceListing.h"
#include "catalogue/DeviceModel.h"
#include "catalogue/ListLine.h"
#include "catalogue/ReplyDispatcher.h"
#include "catalogue/TransferMonitor.h"
#include "protocol/ReplyTags.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::array<const char*, 18> kTags = {
    ReplyTags::kDevice,      ReplyTags::kCodeList,   ReplyTags::kJobList,    ReplyTags::kFormatList,
    ReplyTags::kHalList,     ReplyTags::kValList,    ReplyTags::kData,       ReplyTags::kJobRefresh,
    ReplyTags::kCodeRefresh, ReplyTags::kHalRefresh, ReplyTags::kValRefresh, ReplyTags::kJobFirst,
    ReplyTags::kCodeFirst,   ReplyTags::kHalFirst,   ReplyTags::kValFirst,   ReplyTags::kInitDone,
    ReplyTags::kTaskEnd,     ReplyTags::kProgress};
constexpr std::size_t kFirstNotification = 15;
const std::u16string kPort = u"COM1";

bool EndsLine(const std::u16string& text) {
    return !text.empty() && (text.back() == u'\r' || text.back() == u'\n');
}

void CheckCategory(const DeviceModel& model, const DeviceListing& listing, EntryKind kind) {
    for (const DeviceEntry& entry : listing.Entries(kind)) {
        FuzzCheck(!EndsLine(entry.label), "a label shows no line end");
        for (const std::u16string& detail : entry.details) {
            FuzzCheck(!EndsLine(detail), "a detail shows no line end");
        }
    }
    const DeviceModel::Map* map = model.MapOf(kind);
    if (map == nullptr) {
        return;
    }
    for (const auto& [label, line] : *map) {
        FuzzCheck(line.size() <= ReplyDispatcher::kMaxLineUnits, "a stored line is cut to size");
        const auto entry = DeviceEntry::FromLine(kind, line);
        FuzzCheck(entry && entry->label == label, "a stored line is kept under its own label");
        for (const std::u16string& field : ListLine::Split(line, ListLine::kStoredFields)) {
            ListLine::ReadDecimal(field);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    DeviceModel model;
    DeviceListing listing;
    listing.Connect(kPort);
    TransferMonitor monitor;
    monitor.BeginConnect();
    ReplyDispatcher dispatcher(model, listing, monitor);
    while (!input.empty()) {
        const std::size_t tag = static_cast<unsigned char>(input[0]) % kTags.size();
        input.remove_prefix(1);
        const std::size_t lf = input.find('\n');
        const std::string_view line = input.substr(0, lf == std::string_view::npos ? lf : lf + 1);
        input.remove_prefix(line.size());
        if (tag >= kFirstNotification) {
            dispatcher.OnDeviceReply(kTags[tag], nullptr, ReplyTags::kNotificationLength);
        } else {
            dispatcher.OnDeviceReply(kTags[tag], line.data(), static_cast<int>(line.size()));
        }
    }
    for (EntryKind kind : kCategories) {
        CheckCategory(model, listing, kind);
    }
    const std::u16string& port = listing.PortText();
    FuzzCheck(port == kPort || (port.starts_with(kPort + u": ") && port.ends_with(u" SERIES")),
              "the port node reads \"<port>: <model> SERIES\"");
    return 0;
}
