#include "ListCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

#include "catalogue/ListLine.h"

#include <cstdio>

namespace stationlinkcli {

namespace {

// A JSON string: UTF-8 passes through; quotes, backslashes and control
// characters are escaped.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Field(const std::vector<std::u16string>& fields, std::size_t i) {
    return i < fields.size() ? DeviceListing::Utf8(ListLine::WithoutLineEnd(fields[i])) : "";
}

// One entry: its category, label, name and number as the instrument lists
// them (none for a format) and its details.
std::string EntryJson(EntryKind kind, const DeviceEntry& entry, const DeviceModel& model) {
    const std::u16string category(CategoryText(kind));
    std::string json = "{\"category\": " + Quoted(DeviceListing::Utf8(category)) +
                       ", \"label\": " + Quoted(DeviceListing::Utf8(entry.label));
    if (kind != EntryKind::Format) {
        const auto fields =
            ListLine::Split(model.LineOf(category, entry.label), ListLine::kStoredFields);
        json +=
            ", \"name\": " + Quoted(Field(fields, 0)) + ", \"number\": " + Quoted(Field(fields, 1));
    }
    json += ", \"details\": [";
    for (std::size_t i = 0; i < entry.details.size(); ++i) {
        json += (i > 0 ? ", " : "") + Quoted(DeviceListing::Utf8(entry.details[i]));
    }
    return json + "]}";
}

std::string ListingJson(const DeviceListing& listing, const DeviceModel& model) {
    std::string json =
        "{\"device\": " + Quoted(DeviceListing::Utf8(listing.PortText())) + ",\n \"entries\": [";
    const char* separator = "\n  ";
    for (const EntryKind kind : kCategories) {
        for (const DeviceEntry& entry : listing.Entries(kind)) {
            json += separator + EntryJson(kind, entry, model);
            separator = ",\n  ";
        }
    }
    return json + "]}\n";
}

} // namespace

const CommandSyntax& ListCommand::Syntax() const {
    static const CommandSyntax syntax{
        "list",     "stationlink-cli list COMn [--json] [port options]",
        1,          PortOptions::Names(),
        {"--json"}, {}};
    return syntax;
}

int ListCommand::Run(const CliArguments& args, std::ostream& out, std::ostream& err) {
    InstrumentSession session;
    if (!session.Start(args, err)) {
        return session.Status();
    }
    const TransferSession& link = session.Link();
    out << (args.Flag("--json") ? ListingJson(link.Listing(), link.Model())
                                : link.Listing().Print());
    out.flush();
    return out ? kExitDone : kExitFailed;
}

} // namespace stationlinkcli
