#include "DownloadCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

#include "catalogue/DownloadPlan.h"
#include "platform/CodePage.h"
#include "transfer/DownloadFileSink.h"

namespace stationlinkcli {

namespace {

std::u16string Wide(const std::string& utf8) {
    return CodePage("UTF-8").ToWide(utf8);
}

// What the dialog shows first in its data type box: the first choice up to its comma.
std::u16string FirstDataType(const DownloadPlan::Dialog& dialog) {
    if (dialog.dataTypeChoices.empty()) {
        return {};
    }
    const std::u16string& first = dialog.dataTypeChoices.front();
    const auto comma = first.find(u',');
    return comma == std::u16string::npos ? std::u16string() : first.substr(0, comma);
}

} // namespace

const CommandSyntax& DownloadCommand::Syntax() const {
    static const CommandSyntax syntax = [] {
        CommandSyntax s{
            "download",
            "stationlink-cli download COMn CATEGORY LABEL --to DIR [--name NAME] "
            "[--type TYPE] [--part COORDS|OBSERV] [--overwrite] [--quiet] [port options]",
            3,
            PortOptions::Names(),
            {},
            {}};
        s.options.insert(s.options.end(), {"--to", "--name", "--type", "--part"});
        s.flags.insert(s.flags.end(), {"--overwrite", "--quiet"});
        s.choices.push_back({"--part", {"COORDS", "OBSERV"}});
        return s;
    }();
    return syntax;
}

int DownloadCommand::Run(const CliArguments& args, std::ostream& /*out*/, std::ostream& err) {
    const std::string& category = args.Arguments()[1];
    const auto folder = args.Option("--to");
    if (!folder) {
        err << "stationlink-cli: download: --to DIR is required\n";
        return kExitUsage;
    }
    if (!DownloadPlan::Prepare(Wide(category), u"", {})) {
        err << "stationlink-cli: download: CATEGORY is JOB, COD, HAL or VAL, not " << category
            << "\n";
        return kExitUsage;
    }
    InstrumentSession session;
    if (!session.Start(args, err)) {
        return session.Status();
    }
    TransferSession& link = session.Link();
    const auto label = session.EntryLabel(args, "download", err);
    if (!label) {
        return session.Status();
    }
    const std::u16string line = link.Model().LineOf(Wide(category), *label);
    const auto dialog = DownloadPlan::Prepare(Wide(category), line, link.Model().FormatList());
    const auto name = args.Option("--name");
    const auto type = args.Option("--type");
    const DownloadPlan::Choice choice{name ? Wide(*name) : DownloadPlan::OfferedName(*dialog),
                                      type ? Wide(*type) : FirstDataType(*dialog),
                                      Wide(args.OptionOr("--part", "OBSERV"))};
    const auto decision =
        DownloadPlan::Decide(dialog->mode, line, DownloadPlan::FolderOf(Wide(*folder)), choice);
    if (!decision.request) {
        return session.Failed(err, "download: " + DeviceListing::Utf8(decision.refusal));
    }
    DownloadFileSink sink;
    session.ShowProgress(args, err, static_cast<std::size_t>(decision.total));
    const bool done =
        link.Download(*decision.request, DeviceListing::Utf8(*label), sink, session.IdleTimeout());
    session.EndProgress();
    return done ? kExitDone : session.Ended(err);
}

} // namespace stationlinkcli
