#include "drawexport/CommandLine.h"

#include "drawexport/CodebookStyle.h"
#include "drawexport/ExportRun.h"
#include "drawexport/ExportSummary.h"
#include "drawexport/FileInput.h"
#include "drawexport/InputReport.h"
#include "platform/CommandStart.h"

#include <charconv>
#include <filesystem>

namespace drawexport {
namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// Splits "--name=value" and "--name value"; the value of the option at i.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string& name) {
    const std::size_t equals = args[i].find('=');
    if (equals != std::string::npos) {
        name = args[i].substr(0, equals);
        return args[i].substr(equals + 1);
    }
    name = args[i];
    if (i + 1 >= args.size()) {
        return std::nullopt;
    }
    return args[++i];
}

bool Apply(const std::string& name, const std::string& value, CommandLine::Request& request,
           std::string& error) {
    ExportSettings& settings = request.settings;
    bool ok = true;
    if (name == "-o" || name == "--output") {
        request.output = value;
    } else if (name == "--format") {
        settings.format = ExportFormat::ByName(value);
        ok = settings.format != nullptr;
    } else if (name == "--epsg") {
        ok = ReadNumber(value, settings.epsg) && settings.epsg > 0;
    } else if (name == "--text-height") {
        ok = ReadNumber(value, settings.textHeight);
    } else if (name == "--decimals") {
        ok = ReadNumber(value, settings.decimals);
    } else if (name == "--codebook") {
        request.codebook = value;
        ok = !value.empty();
    } else {
        error = "unknown option " + name;
        return false;
    }
    if (!ok) {
        error = "bad value \"" + value + "\" for " + name;
    }
    return ok;
}

// Options that take no value.
bool ApplyFlag(const std::string& name, CommandLine::Request& request) {
    if (name == "--strict") {
        request.strict = true;
    } else if (name == "--overwrite") {
        request.overwrite = true;
    } else {
        return false;
    }
    return true;
}

} // namespace

const char* CommandLine::Usage() {
    return "usage: drawexport [FILE...]                     (the window)\n"
           "       drawexport [options] IN... -o OUT\n"
           "IN: GSI-8/GSI-16 jobs (.gsi) and point files (.dat)\n"
           "OUT: .dxf .gpkg .geojson .kml .shp .csv, or the format given\n"
           "options:\n"
           "  --format dxf|gpkg|geojson|kml|shp|csv\n"
           "  --epsg N          coordinate system of the points (KML needs one)\n"
           "  --text-height H   height of the drawing's labels (default 0.5)\n"
           "  --decimals N      decimals of the height labels (default 3)\n"
           "  --codebook BOOK   layers, colours, symbols and lines of the codes from a\n"
           "                    codebook (.book, .csv or a code list)\n"
           "  --strict          a line that cannot be read fails the export\n"
           "  --overwrite       replace an existing OUT\n";
}

std::optional<CommandLine::Request> CommandLine::Parse(const std::vector<std::string>& args,
                                                       std::string& error) {
    Request request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with('-') || args[i] == "-") {
            request.inputs.push_back(args[i]);
            continue;
        }
        if (ApplyFlag(args[i], request)) {
            continue;
        }
        std::string name;
        const auto value = OptionValue(args, i, name);
        if (!value) {
            error = name + " needs a value";
            return std::nullopt;
        }
        if (!Apply(name, *value, request, error)) {
            return std::nullopt;
        }
    }
    if (request.inputs.empty() || request.output.empty()) {
        error = request.inputs.empty() ? "no input file" : "no output file: give -o OUT";
        return std::nullopt;
    }
    if (request.settings.format == nullptr) {
        request.settings.format = ExportFormat::ByPath(request.output);
    }
    if (request.settings.format == nullptr) {
        error = "cannot tell the format from \"" + request.output + "\": give --format";
        return std::nullopt;
    }
    const auto problem = request.settings.Problem();
    if (problem) {
        error = *problem;
        return std::nullopt;
    }
    return request;
}

int CommandLine::Run(const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) const {
    const bool help = args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
    std::string error;
    const auto request = help ? std::nullopt : Parse(args, error);
    if (const auto status = CommandStart::Check("drawexport", help, request ? nullptr : &error,
                                                Usage(), out, err)) {
        return *status;
    }
    return Export(*request, out, err);
}

int CommandLine::Export(const Request& request, std::ostream& out, std::ostream& err) {
    std::error_code ignored;
    if (!request.overwrite && std::filesystem::exists(request.output, ignored)) {
        err << "drawexport: " << request.output
            << " exists; give --overwrite to replace it (nothing written)\n";
        return kExitFailed;
    }
    std::vector<FileInput> files(request.inputs.begin(), request.inputs.end());
    std::vector<const ExportInput*> readable;
    PointExtents extents;
    std::size_t unreadable = 0;
    bool failed = false;
    for (const FileInput& file : files) {
        const InputReport report = InputReport::Of(file);
        if (report.error) {
            err << "drawexport: " << ExportSummary::FailureLine(report) << "\n";
            failed = true;
            continue;
        }
        for (const std::string& line : ExportSummary::UnreadableLines(report)) {
            err << line << "\n";
            ++unreadable;
        }
        out << ExportSummary::InputLine(report) << "\n";
        readable.push_back(&file);
        extents.Add(report.extents);
    }
    if (request.strict && unreadable > 0) {
        err << "drawexport: " << ExportSummary::StrictRefusal(unreadable) << "\n";
        return kExitFailed;
    }
    if (extents.Empty()) {
        err << "drawexport: nothing could be exported; nothing written\n";
        return kExitFailed;
    }
    ExportSettings settings = request.settings;
    if (!request.codebook.empty()) {
        std::string error;
        std::vector<std::string> warnings;
        auto style = CodebookStyle::Load(request.codebook, error, warnings);
        for (const std::string& warning : warnings) {
            err << warning << "\n";
        }
        if (!style) {
            err << "drawexport: cannot read the codebook " << error << "; nothing written\n";
            return kExitFailed;
        }
        settings.codebook = std::make_shared<const CodebookStyle>(std::move(*style));
    }
    ExportRun run(settings, request.output);
    const auto problem = run.Write(readable, extents);
    if (problem) {
        err << "drawexport: cannot write " << request.output << ": " << *problem << "\n";
        return kExitFailed;
    }
    out << ExportSummary::ResultLine(run.Written(), request.output) << "\n";
    if (settings.codebook) {
        if (const std::string missing = settings.codebook->MissingCodes(readable);
            !missing.empty()) {
            out << missing << "\n";
        }
    }
    if (const auto note = request.settings.Note()) {
        out << *note << "\n";
    }
    return failed ? kExitFailed : kExitDone;
}

} // namespace drawexport
