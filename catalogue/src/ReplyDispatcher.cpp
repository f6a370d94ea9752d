#include "catalogue/ReplyDispatcher.h"

#include "catalogue/TransferMonitor.h"
#include "platform/CodePage.h"
#include "protocol/ReplyTags.h"

#include <cstring>
#include <string_view>

namespace {

std::string_view Bytes(const char* data, int length) {
    return data != nullptr && length > 0 ? std::string_view(data, static_cast<std::size_t>(length))
                                         : std::string_view();
}

} // namespace

ReplyDispatcher::ReplyDispatcher(DeviceModel& model, DeviceTree& tree, TransferMonitor& monitor)
    : model_(model), tree_(tree), monitor_(monitor) {}

bool ReplyDispatcher::TagMatches(const char* tag, const char* entry) {
    if (tag == nullptr) {
        return false;
    }
    const bool seven = std::strcmp(entry, ReplyTags::kTaskEnd) == 0 ||
                       std::strcmp(entry, ReplyTags::kProgress) == 0 ||
                       std::strcmp(entry, ReplyTags::kOverrun) == 0 ||
                       std::strcmp(entry, ReplyTags::kRefused) == 0;
    // strncmp stops at the tag's NUL, so a short tag is never read past.
    return std::strncmp(tag, entry, seven ? 7 : 6) == 0;
}

std::u16string ReplyDispatcher::Convert(const char* data, int length) {
    std::u16string text = CodePage::Wire().ToWide(Bytes(data, length));
    if (text.size() > kMaxLineUnits) {
        text.resize(kMaxLineUnits);
    }
    return text;
}

int ReplyDispatcher::OnDeviceReply(const char* tag, const char* data, int length) {
    const std::u16string port = tree_.ConnectedPortText();
    if (port.empty() || port == u"X4 SERIES") {
        return 1;
    }
    using ReplyTags::kCodeFirst, ReplyTags::kHalFirst, ReplyTags::kJobFirst, ReplyTags::kValFirst;
    struct Row {
        const char* entry;
        void (*run)(ReplyDispatcher&, const char*, int);
    };
    static constexpr Row kTable[] = {
        {ReplyTags::kInitDone,
         [](ReplyDispatcher& d, const char*, int) {
             d.tree_.InitDone();
             d.monitor_.OnListsRead();
         }},
        {ReplyTags::kJobList,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddEntry(EntryKind::Job, s, n); }},
        {ReplyTags::kDevice, [](ReplyDispatcher& d, const char* s, int n) { d.RenamePort(s, n); }},
        {ReplyTags::kCodeList,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddEntry(EntryKind::Code, s, n); }},
        {ReplyTags::kHalList,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddEntry(EntryKind::Hal, s, n); }},
        {ReplyTags::kFormatList,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddFormat(s, n); }},
        {ReplyTags::kValList,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddEntry(EntryKind::Val, s, n); }},
        {ReplyTags::kData, [](ReplyDispatcher& d, const char* s, int n) { d.PassDataLine(s, n); }},
        {kJobFirst,
         [](ReplyDispatcher& d, const char* s, int n) { d.Refill(EntryKind::Job, s, n); }},
        {kCodeFirst,
         [](ReplyDispatcher& d, const char* s, int n) { d.Refill(EntryKind::Code, s, n); }},
        {kHalFirst,
         [](ReplyDispatcher& d, const char* s, int n) { d.Refill(EntryKind::Hal, s, n); }},
        {kValFirst,
         [](ReplyDispatcher& d, const char* s, int n) { d.Refill(EntryKind::Val, s, n); }},
        {ReplyTags::kJobRefresh,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddRefreshed(EntryKind::Job, s, n); }},
        {ReplyTags::kHalRefresh,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddRefreshed(EntryKind::Hal, s, n); }},
        {ReplyTags::kCodeRefresh,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddRefreshed(EntryKind::Code, s, n); }},
        {ReplyTags::kValRefresh,
         [](ReplyDispatcher& d, const char* s, int n) { d.AddRefreshed(EntryKind::Val, s, n); }},
        {ReplyTags::kTaskEnd, [](ReplyDispatcher& d, const char*, int) { d.PassScriptEnd(); }},
        {ReplyTags::kProgress, [](ReplyDispatcher& d, const char*, int) { d.PassLineSent(); }},
        // A line too long for the engine is not dropped in silence: the
        // operation it belongs to fails.
        {ReplyTags::kOverrun,
         [](ReplyDispatcher& d, const char*, int) { d.monitor_.OnOverlongLine(); }},
        {ReplyTags::kRefused,
         [](ReplyDispatcher& d, const char* s, int n) { d.monitor_.OnRefused(Bytes(s, n)); }},
    };
    for (const Row& row : kTable) {
        if (TagMatches(tag, row.entry)) {
            row.run(*this, data, length);
        }
    }
    return 1;
}

void ReplyDispatcher::AddEntry(EntryKind kind, const char* data, int length) {
    std::u16string line = Convert(data, length);
    const auto entry = DeviceEntry::FromLine(kind, line);
    if (!entry) {
        return; // too few fields to make an entry of its kind
    }
    model_.Store(kind, entry->label, std::move(line));
    tree_.AppendEntry(kind, *entry);
}

// A list line read again; during an erase each one is a step of its progress.
void ReplyDispatcher::AddRefreshed(EntryKind kind, const char* data, int length) {
    AddEntry(kind, data, length);
    if (monitor_.Current() == TransferMonitor::Operation::Erase) {
        tree_.StepProgress();
    }
}

void ReplyDispatcher::RenamePort(const char* data, int length) {
    tree_.SetConnectedPortText(
        DeviceEntry::DeviceText(tree_.ConnectedPortText(), Convert(data, length)));
}

void ReplyDispatcher::AddFormat(const char* data, int length) {
    std::u16string line = Convert(data, length);
    const auto entry = DeviceEntry::FromLine(EntryKind::Format, line);
    model_.AddFormat(std::move(line));
    tree_.AppendEntry(EntryKind::Format, *entry);
}

// The first line of a list read again after an upload: the category is
// filled anew from it.
void ReplyDispatcher::Refill(EntryKind kind, const char* data, int length) {
    tree_.ClearCategory(kind);
    monitor_.OnListRefilled();
    AddEntry(kind, data, length);
}

void ReplyDispatcher::PassDataLine(const char* data, int length) {
    if (monitor_.OnDataLine(Bytes(data, length))) {
        tree_.StepProgress();
    }
}

void ReplyDispatcher::PassLineSent() {
    monitor_.OnLineSent();
    tree_.StepProgress();
}

// A list read again after an upload that brought no line at all is empty
// now; without this its old entries would stay in the tree.
void ReplyDispatcher::PassScriptEnd() {
    if (const auto emptied = monitor_.EmptiedCategory()) {
        tree_.ClearCategory(*emptied);
    }
    monitor_.OnScriptEnd();
}
