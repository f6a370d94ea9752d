#include "protocol/ScriptBuilder.h"

#include "platform/CodePage.h"

#include <array>
#include <string>

namespace {

enum class Value { None, FormatCode, ItemName, PartCode, JobLabel, EchoName, FormatName, Zero };

struct Replacement {
    const char* placeholder;
    Value value;
};

// One rewritten text of one step, with up to two placeholders applied in
// order.
struct Rewrite {
    int kind;
    int script;
    int step;
    bool reply;
    std::array<Replacement, 2> replacements;
    bool cutAtComma = false;
};

constexpr Replacement kNoMore{nullptr, Value::None};
constexpr std::array<Replacement, 2> kFormatEcho = {
    {{"[KSTDDTPA]", Value::FormatName}, {"[KSTDDTP2]", Value::FormatCode}}};

constexpr bool kCommand = false;
constexpr bool kReply = true;

// For each kind, its rewrites in the order they are applied.
constexpr Rewrite kRewrites[] = {
    {TransferRequest::JobDownload, 1, 2, kCommand, {{{"[KSTDDTPA]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::JobDownload,
     1,
     3,
     kCommand,
     {{{"[KSTDFTPA]", Value::PartCode}, {"[XX]", Value::ItemName}}}},
    {TransferRequest::JobDownload, 1, 2, kReply, kFormatEcho},

    {TransferRequest::CodeDownload, 1, 8, kCommand, {{{"[KSTDDTPA]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::CodeDownload, 1, 9, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::CodeDownload, 1, 8, kReply, kFormatEcho},

    {TransferRequest::HalDownload, 1, 14, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::ValDownload, 1, 19, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},

    {TransferRequest::JobErase,
     2,
     2,
     kCommand,
     {{{"[XX]", Value::ItemName}, {"[KSTDDTPA]", Value::PartCode}}}},
    {TransferRequest::CodeErase, 2, 8, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::HalErase, 2, 14, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::ValErase, 2, 20, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},

    {TransferRequest::JobUpload, 3, 2, kCommand, {{{"[XX]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::JobUpload, 3, 3, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::JobUpload, 3, 2, kReply, kFormatEcho},
    {TransferRequest::JobUpload, 3, 3, kReply, {{{"[KSTDDTPA]", Value::EchoName}, kNoMore}}},

    {TransferRequest::JobUploadSelect,
     3,
     11,
     kCommand,
     {{{"[XX]", Value::ItemName}, {"[XXXX]", Value::JobLabel}}}},
    {TransferRequest::JobUploadSelect, 3, 13, kCommand, {{{"[XX]", Value::ItemName}, kNoMore}}},
    {TransferRequest::JobUploadSelect, 3, 12, kCommand, {{{"[XX]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::JobUploadSelect, 3, 12, kReply, kFormatEcho},
    {TransferRequest::JobUploadSelect,
     3,
     11,
     kReply,
     {{{"[FILENAME]", Value::EchoName}, kNoMore}},
     true},

    {TransferRequest::CodeUpload, 3, 21, kCommand, {{{"[XX]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::CodeUpload, 3, 22, kCommand, {{{"[XX]", Value::FormatCode}, kNoMore}}},
    {TransferRequest::CodeUpload, 3, 22, kReply, {{{"[FILENAME]", Value::EchoName}, kNoMore}}},
    {TransferRequest::CodeUpload, 3, 21, kReply, kFormatEcho},

    {TransferRequest::HalUpload, 3, 30, kCommand, {{{"[XX]", Value::Zero}, kNoMore}}},
};

void ReplaceAll(std::string& text, std::string_view placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

bool RefillsTable(std::int32_t kind) {
    return kind >= TransferRequest::JobDownload && kind <= TransferRequest::CodeUpload;
}

} // namespace

ScriptBuilder::ScriptBuilder(const CodePage& codePage) : codePage_(codePage) {}

ScriptBuildResult ScriptBuilder::Build(const TransferRequest& request, ScriptTable& table) const {
    if (RefillsTable(request.kind)) {
        FillScriptTable(table);
    }
    const auto valueOf = [&](Value value) -> std::string {
        switch (value) {
        case Value::FormatCode:
            return codePage_.ToAnsi(request.formatCode);
        case Value::ItemName:
            return codePage_.ToAnsi(request.itemName);
        case Value::PartCode:
            return codePage_.ToAnsi(request.partCode);
        case Value::JobLabel:
            return codePage_.ToAnsi(request.jobLabel);
        case Value::EchoName:
            return codePage_.ToAnsi(request.echoName);
        case Value::FormatName:
            return request.formatCode == u"0" ? "GSI" : "IDEX";
        case Value::Zero:
            return "0";
        case Value::None:
            break;
        }
        return {};
    };
    for (const Rewrite& rewrite : kRewrites) {
        if (rewrite.kind != request.kind) {
            continue;
        }
        std::string text(rewrite.reply ? table.Reply(rewrite.script, rewrite.step)
                                       : table.Command(rewrite.script, rewrite.step));
        for (const Replacement& r : rewrite.replacements) {
            if (r.placeholder != nullptr) {
                ReplaceAll(text, r.placeholder, valueOf(r.value));
            }
        }
        if (rewrite.cutAtComma) {
            const std::size_t comma = text.find(',');
            text.resize(comma == std::string::npos ? 0 : comma);
        }
        const bool written = rewrite.reply ? table.WriteReply(rewrite.script, rewrite.step, text)
                                           : table.WriteCommand(rewrite.script, rewrite.step, text);
        if (!written) {
            return ScriptBuildResult::Refused(
                "The names of this item make the instrument command \"" + text.substr(0, 40) +
                "...\" longer than " + std::to_string(ScriptTable::kMaxText) +
                " characters; nothing was sent.");
        }
    }
    return {};
}

ScriptBuildResult ScriptBuilder::CheckLines(const TransferRequest& request) const {
    for (std::size_t i = 0; i < request.lines.size(); ++i) {
        if (codePage_.ToAnsi(request.lines[i]).size() > static_cast<std::size_t>(kMaxLineBytes)) {
            return ScriptBuildResult::Refused("Line " + std::to_string(i + 1) +
                                              " of the file is longer than " +
                                              std::to_string(kMaxLineBytes) +
                                              " bytes, which the instrument cannot take; "
                                              "nothing was sent.");
        }
    }
    return {};
}
