#include "UploadCommand.h"

#include "ExitCode.h"
#include "InstrumentSession.h"
#include "PortOptions.h"

#include "catalogue/UploadPlan.h"
#include "platform/CodePage.h"
#include "transfer/UploadFileReader.h"

namespace stationlinkcli {

namespace {

std::u16string FromUtf8(const std::string& text) {
    return CodePage("UTF-8").ToWide(text);
}

// The data type the dialog preselects: the first format, cut before its ",".
std::u16string FirstDataType(const std::vector<std::u16string>& types) {
    return types.empty() ? std::u16string() : types.front().substr(0, types.front().find(u','));
}

} // namespace

const CommandSyntax& UploadCommand::Syntax() const {
    static const CommandSyntax syntax = [] {
        CommandSyntax s{"upload",
                        "stationlink-cli upload COMn CATEGORY LABEL FILE [--name NAME] "
                        "[--type TYPE] [--replace] [--quiet] [port options]",
                        4,
                        PortOptions::Names(),
                        {},
                        {}};
        s.options.push_back("--name");
        s.options.push_back("--type");
        s.flags.push_back("--quiet");
        s.flags.push_back("--replace");
        return s;
    }();
    return syntax;
}

int UploadCommand::Run(const CliArguments& args, std::ostream& /*out*/, std::ostream& err) {
    const std::u16string category = FromUtf8(args.Arguments()[1]);
    if (category == u"FOR" || !CategoryOf(category)) {
        err << "stationlink-cli: upload: CATEGORY is JOB, COD, HAL or VAL, not "
            << args.Arguments()[1] << "\n";
        return kExitUsage;
    }
    InstrumentSession session;
    if (!session.Start(args, err)) {
        return session.Status();
    }
    const auto label = session.EntryLabel(args, "upload", err);
    if (!label) {
        return session.Status();
    }
    const std::string& path = args.Arguments()[3];
    const auto plan =
        UploadPlan::Prepare(session.Link().Model(), {category, *label}, FromUtf8(path));
    const UploadFile file = UploadFileReader(CodePage::Wire()).ReadLocal(path);
    if (file.status == UploadFile::Status::Unreadable) {
        return session.Failed(err, "upload: " + file.error);
    }
    const auto name = args.Option("--name");
    const auto type = args.Option("--type");
    const auto decision =
        UploadPlan::Decide(*plan, FromUtf8(path), file, name ? FromUtf8(*name) : plan->fileName,
                           type ? FromUtf8(*type) : FirstDataType(plan->dataTypes), true);
    if (!decision.request) {
        return session.Failed(err, "upload: " + DeviceListing::Utf8(decision.messages.front()));
    }
    session.ShowProgress(args, err, decision.request->lines.size());
    const bool done =
        session.Link().Upload(*decision.request, path, session.IdleTimeout(), plan->storedLine);
    session.EndProgress();
    return done ? kExitDone : session.Ended(err);
}

} // namespace stationlinkcli
