#include "coordbook/CommandLine.h"

#include "coordbook/BookFile.h"
#include "coordbook/BookLoader.h"
#include "platform/CommandStart.h"

#include <filesystem>

namespace coordbook {
namespace {

const std::string kConvert = "--convert";
const std::string kFormat = "--format";

} // namespace

const char* CommandLine::Usage() {
    return "usage: coordbook [FILE...]                        (the window)\n"
           "       coordbook --convert IN OUT [--format gsi16|gsi8|dat] [--strict] [--overwrite]\n"
           "IN: a point file (.dat) or a GSI-8/GSI-16 job\n"
           "OUT: .dat a point file, .gsi GSI-16, or the format given\n"
           "--strict: a line of IN that cannot be read fails the conversion\n"
           "--overwrite: replace an existing OUT (without it an existing OUT is kept)\n";
}

std::optional<CommandLine::Request> CommandLine::Parse(const std::vector<std::string>& args,
                                                       std::string& error) {
    Request request;
    std::string format;
    std::vector<std::string> files;
    bool convert = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            request.help = true;
            return request;
        }
        if (args[i] == kConvert) {
            convert = true;
        } else if (args[i] == "--strict") {
            request.strict = true;
        } else if (args[i] == "--overwrite") {
            request.overwrite = true;
        } else if (args[i].starts_with(kFormat + "=")) {
            format = args[i].substr(kFormat.size() + 1);
        } else if (args[i] == kFormat && i + 1 < args.size()) {
            format = args[++i];
        } else if (args[i].starts_with('-') && args[i] != "-") {
            error = args[i] == kFormat ? "--format needs a value" : "unknown option " + args[i];
            return std::nullopt;
        } else {
            files.push_back(args[i]);
        }
    }
    if (!convert || files.size() != 2) {
        error = convert ? "--convert takes an input and an output file" : "nothing to do";
        return std::nullopt;
    }
    request.input = files[0];
    request.output = files[1];
    const auto chosen =
        format.empty() ? BookFormats::ByExtension(request.output) : BookFormats::ByName(format);
    if (!chosen) {
        error = format.empty()
                    ? "cannot tell the format from \"" + request.output + "\": give --format"
                    : "unknown format \"" + format + "\"";
        return std::nullopt;
    }
    request.format = *chosen;
    return request;
}

int CommandLine::Run(const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) const {
    std::string error;
    const auto request = Parse(args, error);
    if (const auto status = CommandStart::Check("coordbook", request && request->help,
                                                request ? nullptr : &error, Usage(), out, err)) {
        return *status;
    }
    return Convert(*request, out, err);
}

int CommandLine::Convert(const Request& request, std::ostream& out, std::ostream& err) {
    // A file of that name may be another day's work: it is replaced only when asked.
    std::error_code ignored;
    if (!request.overwrite && std::filesystem::exists(request.output, ignored)) {
        err << "coordbook: " << request.output << " exists; give --overwrite to replace it\n";
        return CommandStart::kExitFailed;
    }
    const auto loaded = BookLoader::Load(request.input);
    if (!loaded.book) {
        err << "coordbook: " << request.input << ": " << loaded.error->Text() << "\n";
        return CommandStart::kExitFailed;
    }
    const PointBook& book = *loaded.book;
    for (const FieldFileError& problem : book.Problems()) {
        err << request.input << ":" << problem.line << ": " << problem.reason << "\n";
    }
    if (request.strict && !book.Problems().empty()) {
        const std::size_t count = book.Problems().size();
        err << "coordbook: " << count << (count == 1 ? " line" : " lines")
            << " could not be read and --strict was given; nothing written\n";
        return CommandStart::kExitFailed;
    }
    if (book.Rows() == 0) {
        err << "coordbook: " << request.input << " holds no point; nothing written\n";
        return CommandStart::kExitFailed;
    }
    const BookFormat format = request.format;
    const BookOutput output = BookFile::Render(book, request.output, format);
    const std::string failure =
        output.refusal.empty() ? BookFile::Store(request.output, output) : output.refusal;
    if (!failure.empty()) {
        err << "coordbook: cannot write " << request.output << ": " << failure << "\n";
        return CommandStart::kExitFailed;
    }
    out << request.input << ": " << book.Rows() << (book.Rows() == 1 ? " point" : " points")
        << " written to " << request.output << " (" << BookFormats::Title(format) << ")\n";
    if (const std::string note = BookFile::LeftOutNote(output, format); !note.empty()) {
        out << note << "\n";
    }
    return CommandStart::kExitDone;
}

} // namespace coordbook
