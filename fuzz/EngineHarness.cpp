#include "EngineHarness.h"

#include "CaptureSerial.h"
#include "FuzzCheck.h"
#include "protocol/ReplyTags.h"
#include "protocol/TransferRequest.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <memory>

namespace {

constexpr std::array<const char*, 15> kDataTags = {
    ReplyTags::kDevice,      ReplyTags::kCodeList,   ReplyTags::kJobList,    ReplyTags::kFormatList,
    ReplyTags::kHalList,     ReplyTags::kValList,    ReplyTags::kData,       ReplyTags::kJobRefresh,
    ReplyTags::kCodeRefresh, ReplyTags::kHalRefresh, ReplyTags::kValRefresh, ReplyTags::kJobFirst,
    ReplyTags::kCodeFirst,   ReplyTags::kHalFirst,   ReplyTags::kValFirst};
constexpr std::array<const char*, 4> kNotifications = {ReplyTags::kInitDone, ReplyTags::kTaskEnd,
                                                       ReplyTags::kProgress, ReplyTags::kOverrun};

const std::array<std::u16string, 4> kPointLines = {
    u"*110001+0000000000000P12 81..00+0000000001234567 82..00-0000000000045678 "
    u"83..00+0000000000012345 ",
    u"", u"*410001+000000000000TREE ",
    u"*110002+0000000000000P13 81..00+0000000001234999 82..00-0000000000045001 "
    u"83..00+0000000000012001 "};

bool Among(const char* tag, const auto& tags) {
    return std::any_of(tags.begin(), tags.end(),
                       [&](const char* known) { return std::strcmp(tag, known) == 0; });
}

// Texts as the instrument tree and the transfer dialogs fill them for the
// demo instrument of x4sim, so a recorded conversation goes deep; by kind.
struct RequestTexts {
    std::u16string_view formatCode, itemName, partCode, jobLabel, echoName;
};
constexpr std::array<RequestTexts, 13> kTexts = {{
    {u"0", u"1", u"COORDS", u"BRIDGE", u""},                                 // job download
    {u"1", u"1", u"", u"", u""},                                             // code download
    {u"", u"1", u"", u"", u""},                                              // HAL download
    {u"", u"2", u"", u"", u""},                                              // VAL download
    {u"", u"2", u"COORDS", u"", u""},                                        // job erase
    {u"", u"1", u"", u"", u""},                                              // code erase
    {u"", u"1", u"", u"", u""},                                              // HAL erase
    {u"", u"1", u"", u"", u""},                                              // VAL erase
    {u"0", u"3", u"", u"SITE03", u"IN:SITE03,3,12,18,2024-06-02,07:48\r\n"}, // job upload
    {u"0", u"4", u"", u"NEWJOB", u"NEWJOB,4,0,0"},                           // new job upload
    {u"2", u"", u"", u"", u"UTILITY"},                                       // code upload
    {u"2", u"", u"", u"", u"MAINST"},                                        // HAL upload
    {u"2", u"", u"", u"", u"RAMPA"},                                         // VAL upload
}};

TransferRequest RequestFor(int kind, int uploadLines) {
    const RequestTexts& t = kTexts.at(static_cast<std::size_t>(kind));
    TransferRequest r{.kind = kind,
                      .formatCode = std::u16string(t.formatCode),
                      .itemName = std::u16string(t.itemName),
                      .partCode = std::u16string(t.partCode),
                      .jobLabel = std::u16string(t.jobLabel),
                      .echoName = std::u16string(t.echoName)};
    if (kind >= TransferRequest::JobUpload) {
        const auto count = std::clamp(uploadLines, 0, static_cast<int>(kPointLines.size()));
        r.lines.assign(kPointLines.begin(), kPointLines.begin() + count);
    }
    return r;
}

} // namespace

EngineHarness::EngineHarness()
    : CKestaCom([] { return std::make_unique<CaptureSerial>(); }, std::chrono::hours(24)) {
    OpenPort("COM1", "19200", "8", "0", "0");
}

EngineHarness::~EngineHarness() {
    ClosePort();
    ShutdownWorker();
}

CaptureSerial& EngineHarness::Port() const {
    return *dynamic_cast<CaptureSerial*>(SerialPort());
}

void EngineHarness::Start(int operation, int uploadLines) {
    if (operation == kConnect) {
        Engine().StartConnect();
        return;
    }
    const TransferRequest request = RequestFor(operation, uploadLines);
    FuzzCheck(static_cast<bool>(request.BuildScript(Engine())),
              "the script builder takes the request");
    if (operation <= TransferRequest::ValDownload) {
        StartDownload();
    } else if (operation <= TransferRequest::ValErase) {
        StartErase();
    } else {
        StartUpload();
    }
}

void EngineHarness::Feed(std::string_view chunk) {
    OnReceive(nullptr, chunk.data(), static_cast<int>(chunk.size()));
}

std::vector<std::string> EngineHarness::TakeSent() {
    return Port().TakeSent();
}

int EngineHarness::OnDeviceReply(const char* tag, const char* data, int length) {
    FuzzCheck(tag != nullptr && !ended_, "no report after the end of the operation");
    const bool refused = std::strcmp(tag, ReplyTags::kRefused) == 0;
    if (data == nullptr) {
        FuzzCheck(Among(tag, kNotifications) && length == ReplyTags::kNotificationLength,
                  "a notification has a known tag");
    } else if (refused) {
        // The instrument's error line ends the operation, as it came.
        FuzzCheck(length >= 2 && length <= CDKestaDlg::kLineBufferSize && data[0] == '@' &&
                      data[1] == 'E',
                  "an error line starts with @E and fits the line buffer");
    } else {
        FuzzCheck(Among(tag, kDataTags), "a data line has a known tag");
        FuzzCheck(length >= 2 && length <= CDKestaDlg::kLineBufferSize,
                  "a data line fits the line buffer");
        FuzzCheck(data[length - 2] == '\r' && data[length - 1] == '\n' && data[0] != '\x1A',
                  "a data line ends with CR LF and is not the end line");
    }
    if (refused || std::strcmp(tag, ReplyTags::kTaskEnd) == 0) {
        ended_ = true;
        Port().Close();
    }
    return 1;
}

void EngineHarness::ShowLinkMessage(const std::string& /*text*/) {
    FuzzCheck(false, "an operation always starts");
}

void EngineHarness::OnLinkLost(const std::string& /*reason*/) {
    FuzzCheck(false, "the capture port never loses its line");
}
