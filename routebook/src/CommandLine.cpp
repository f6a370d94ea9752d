#include "routebook/CommandLine.h"

#include "platform/CommandStart.h"

#include "routebook/AlignmentCheck.h"
#include "routebook/AlignmentFileIo.h"
#include "routebook/FieldNumbers.h"
#include "routebook/LandXmlAlignment.h"
#include "routebook/StationWriter.h"

namespace routebook {

namespace {

using Kind = AlignmentFileIo::Kind;

// Names every issue; true when there was none.
bool Report(const std::string& path, const std::vector<AlignmentIssue>& issues, std::ostream& err) {
    for (const AlignmentIssue& issue : issues) {
        err << path << ": " << issue.Text() << '\n';
    }
    return issues.empty();
}

template <typename File>
std::optional<File> Load(const std::string& path, std::ostream& err) {
    std::string bytes, error;
    if (!AlignmentFileIo::Read(path, bytes, error)) {
        err << error << '\n';
        return std::nullopt;
    }
    File file = File::Read(bytes);
    if (!Report(path, AlignmentCheck::File(file), err)) {
        return std::nullopt;
    }
    return file;
}

std::optional<LandXmlAlignment> LoadXml(const std::string& path, std::ostream& err) {
    std::string bytes, error;
    if (!AlignmentFileIo::Read(path, bytes, error)) {
        err << error << '\n';
        return std::nullopt;
    }
    std::vector<AlignmentIssue> issues;
    LandXmlAlignment alignment = LandXmlAlignment::Read(bytes, issues);
    if (!Report(path, issues, err)) {
        return std::nullopt;
    }
    return alignment;
}

int Store(const std::string& path, const std::string& bytes, bool overwrite, std::ostream& err) {
    const std::string reason = AlignmentFileIo::Write(path, bytes, overwrite);
    if (!reason.empty()) {
        err << reason << '\n';
        return CommandStart::kExitFailed;
    }
    return CommandStart::kExitDone;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

} // namespace

const char* CommandLine::Usage() {
    return "usage: routebook [FILE...]\n"
           "       routebook --stations HAL [VAL] --interval D [--offsets L,R] -o OUT.csv|OUT.gsi "
           "[--overwrite]\n"
           "       routebook --convert IN OUT [--overwrite]\n";
}

std::optional<CommandLine::Request> CommandLine::Parse(const std::vector<std::string>& args,
                                                       std::string& error) {
    Request request;
    bool haveInterval = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            request.mode = Request::Mode::Help;
            return request;
        } else if (a == "--stations" || a == "--convert") {
            if (request.mode != Request::Mode::Help) {
                error = "--stations and --convert are one each";
                return std::nullopt;
            }
            request.mode = a == "--stations" ? Request::Mode::Stations : Request::Mode::Convert;
        } else if (a == "--overwrite") {
            request.overwrite = true;
        } else if (a == "-o" || a == "--interval" || a == "--offsets") {
            const std::string* v = value();
            if (!v) {
                return std::nullopt;
            }
            if (a == "-o") {
                request.output = *v;
            } else if (a == "--interval") {
                const auto d = FieldNumbers::Parse(*v);
                if (!d || !(*d > 0)) {
                    error = "--interval takes a distance above zero";
                    return std::nullopt;
                }
                request.interval = *d;
                haveInterval = true;
            } else {
                const auto comma = v->find(',');
                const auto l = FieldNumbers::Parse(v->substr(0, comma));
                const auto r = comma == std::string::npos
                                   ? std::nullopt
                                   : FieldNumbers::Parse(v->substr(comma + 1));
                if (!l || !r || *l < 0 || *r < 0) {
                    error = "--offsets takes L,R: two distances, 0 or more";
                    return std::nullopt;
                }
                request.left = *l;
                request.right = *r;
            }
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            request.inputs.push_back(a);
        }
    }
    if (request.mode == Request::Mode::Convert) {
        if (request.inputs.size() != 2 || !request.output.empty()) {
            error = "--convert takes IN and OUT";
            return std::nullopt;
        }
        request.output = request.inputs.back();
        request.inputs.pop_back();
    } else if (request.mode == Request::Mode::Stations) {
        if (request.inputs.empty() || request.inputs.size() > 2 || request.output.empty() ||
            !haveInterval) {
            error = "--stations takes HAL [VAL], --interval D and -o OUT";
            return std::nullopt;
        }
        const Kind out = AlignmentFileIo::KindOf(request.output);
        if (out != Kind::Csv && out != Kind::Gsi) {
            error = "-o takes a .csv or a .gsi file";
            return std::nullopt;
        }
    } else {
        error = "nothing to do";
        return std::nullopt;
    }
    return request;
}

int CommandLine::Run(const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) const {
    std::string error;
    const auto request = Parse(args, error);
    // Names in alignment files are kept in the wire code page.
    if (const auto status =
            CommandStart::Check("routebook", request && request->mode == Request::Mode::Help,
                                request ? nullptr : &error, Usage(), out, err)) {
        return *status;
    }
    switch (request->mode) {
    case Request::Mode::Help:
        return CommandStart::kExitDone;
    case Request::Mode::Stations:
        return Stations(*request, err);
    case Request::Mode::Convert:
        return Convert(*request, err);
    }
    return CommandStart::kExitUsage;
}

int CommandLine::Stations(const Request& request, std::ostream& err) {
    const auto hal = Load<HalFile>(request.inputs[0], err);
    std::optional<ValFile> val;
    if (request.inputs.size() > 1) {
        val = Load<ValFile>(request.inputs[1], err);
        if (!val) {
            return CommandStart::kExitFailed;
        }
    }
    if (!hal) {
        return CommandStart::kExitFailed;
    }
    const HorizontalAlignment line(hal->Records());
    if (StationTable::IntervalCount(line, request.interval) > StationTable::kMaxStations) {
        err << request.inputs[0] << ": an interval of " << FieldNumbers::Format(request.interval)
            << " gives more than " << StationTable::kMaxStations << " stations\n";
        return CommandStart::kExitFailed;
    }
    const VerticalProfile profile(val ? val->Records() : std::vector<VerticalPoint>{});
    const auto stations = StationTable::Build(line, val ? &profile : nullptr, request.interval,
                                              request.left, request.right);
    std::string bytes;
    if (AlignmentFileIo::KindOf(request.output) == Kind::Csv) {
        bytes = StationWriter::Csv(stations);
    } else {
        std::string error;
        const auto gsi = StationWriter::Gsi16(stations, error);
        if (!gsi) {
            err << request.output << ": " << error << '\n';
            return CommandStart::kExitFailed;
        }
        bytes = *gsi;
    }
    return Store(request.output, bytes, request.overwrite, err);
}

int CommandLine::Convert(const Request& request, std::ostream& err) {
    const std::string& in = request.inputs[0];
    const Kind from = AlignmentFileIo::KindOf(in);
    const Kind to = AlignmentFileIo::KindOf(request.output);
    const auto known = [](Kind k) {
        return k == Kind::Hal || k == Kind::Val || k == Kind::LandXml;
    };
    if (!known(from) || !known(to) ||
        (from != to && from != Kind::LandXml && to != Kind::LandXml)) {
        err << "routebook: --convert goes between .hal or .val and LandXML (.xml)\n";
        return CommandStart::kExitUsage;
    }
    std::string bytes;
    if (from == Kind::LandXml) {
        const auto xml = LoadXml(in, err);
        if (!xml) {
            return CommandStart::kExitFailed;
        }
        if (to == Kind::Hal) {
            const HalFile file = HalFile::Make(xml->elements);
            if (!Report(in, AlignmentCheck::File(file), err)) {
                return CommandStart::kExitFailed;
            }
            bytes = file.Bytes();
        } else if (to == Kind::Val) {
            const ValFile file = ValFile::Make(xml->profile);
            if (!Report(in, AlignmentCheck::File(file), err)) {
                return CommandStart::kExitFailed;
            }
            bytes = file.Bytes();
        } else {
            bytes = xml->Write();
        }
    } else if (from == Kind::Hal) {
        const auto file = Load<HalFile>(in, err);
        if (!file) {
            return CommandStart::kExitFailed;
        }
        const LandXmlAlignment xml{BaseName(in), file->Records(), {}};
        bytes = to == Kind::Hal ? file->Bytes() : xml.Write();
    } else {
        const auto file = Load<ValFile>(in, err);
        if (!file) {
            return CommandStart::kExitFailed;
        }
        const LandXmlAlignment xml{BaseName(in), {}, file->Records()};
        bytes = to == Kind::Val ? file->Bytes() : xml.Write();
    }
    return Store(request.output, bytes, request.overwrite, err);
}

} // namespace routebook
