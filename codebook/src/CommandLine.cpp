#include "codebook/CommandLine.h"

#include "codebook/CodeBookFile.h"
#include "platform/CommandStart.h"

#include <filesystem>

namespace codebook {

namespace {

const std::string kFormat = "--format";

} // namespace

const char* CommandLine::Usage() {
    return "usage: codebook [FILE...]                         (the window)\n"
           "       codebook --convert IN OUT [--format gsi8|gsi16|idex|csv|book] [--overwrite]\n"
           "IN: a code list (.crf: GSI-8, GSI-16 or IDEX), a CSV file or a codebook (.book)\n"
           "OUT: in the format given, or of its extension (.book, .csv, .idex; .crf keeps\n"
           "     the input's list layout, GSI-16 for others); an existing OUT needs --overwrite\n";
}

std::optional<CommandLine::Request> CommandLine::Parse(const std::vector<std::string>& args,
                                                       std::string& error) {
    Request request;
    std::vector<std::string> files;
    bool convert = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            request.help = true;
            return request;
        }
        std::string format;
        if (arg == "--convert") {
            convert = true;
        } else if (arg == "--overwrite") {
            request.overwrite = true;
        } else if (arg.starts_with(kFormat + "=")) {
            format = arg.substr(kFormat.size() + 1);
        } else if (arg == kFormat && i + 1 < args.size()) {
            format = args[++i];
        } else if (arg.starts_with('-') && arg != "-") {
            error = arg == kFormat ? "--format needs a value" : "unknown option " + arg;
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
        if (!format.empty() && !(request.format = CodeFormats::ByName(format))) {
            error = "unknown format \"" + format + "\"";
            return std::nullopt;
        }
    }
    if (!convert || files.size() != 2) {
        error = convert ? "--convert takes an input and an output file" : "nothing to do";
        return std::nullopt;
    }
    request.input = files[0];
    request.output = files[1];
    if (!request.format && !CodeFormats::ByExtension(request.output)) {
        error = "cannot tell the format from \"" + request.output + "\": give --format";
        return std::nullopt;
    }
    return request;
}

int CommandLine::Run(const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) const {
    std::string error;
    const auto request = Parse(args, error);
    if (const auto status = CommandStart::Check("codebook", request && request->help,
                                                request ? nullptr : &error, Usage(), out, err)) {
        return *status;
    }
    return Convert(*request, out, err);
}

int CommandLine::Convert(const Request& request, std::ostream& out, std::ostream& err) {
    const CodeBookFile::Loaded loaded = CodeBookFile::Load(request.input);
    if (!loaded.read) {
        err << "codebook: " << request.input << ": " << loaded.error << "\n";
        return CommandStart::kExitFailed;
    }
    for (const SkippedLine& skipped : loaded.read->skipped) {
        err << "codebook: " << request.input << ":" << skipped.line << ": " << skipped.reason
            << "\n";
    }
    if (!loaded.read->skipped.empty()) {
        err << "codebook: " << request.input << " was not converted\n";
        return CommandStart::kExitFailed;
    }
    CodeFormat format = request.format.value_or(*CodeFormats::ByExtension(request.output));
    const bool crf = std::filesystem::path(request.output).extension() == ".crf";
    if (!request.format && crf && CodeFormats::IsInstrumentList(loaded.format)) {
        format = loaded.format;
    }
    std::error_code ignored;
    if (!request.overwrite && std::filesystem::exists(request.output, ignored)) {
        err << "codebook: " << request.output << " exists; give --overwrite to replace it\n";
        return CommandStart::kExitFailed;
    }
    CodeBook book = loaded.read->book;
    if (book.name.empty()) {
        book.name = std::filesystem::path(request.input).stem().string();
    }
    const CodeBookFile::Saved saved = CodeBookFile::Save(request.output, book, format);
    for (const CodeListCheck::Refusal& refusal : saved.refusals) {
        err << "codebook: " << request.output << ": " << refusal.Text() << "\n";
    }
    if (!saved.Ok()) {
        err << "codebook: " << request.output << " was not written"
            << (saved.error.empty() ? "" : ": " + saved.error) << "\n";
        return CommandStart::kExitFailed;
    }
    out << request.input << ": " << book.codes.size()
        << (book.codes.size() == 1 ? " code" : " codes") << " written to " << request.output << " ("
        << CodeFormats::Title(format) << ")\n";
    return CommandStart::kExitDone;
}

} // namespace codebook
