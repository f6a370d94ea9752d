#include "Instrument.h"

#include "UploadSink.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Category = InstrumentContent::Category;

constexpr std::string_view kUnknownCommand = "@E101";
constexpr std::string_view kBadParameter = "@E102";
constexpr std::string_view kNoSuchItem = "@E103";

SimReply Line(std::string_view text) {
    return {std::string(text) + "\r\n"};
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

const char* CategoryName(Category category) {
    static constexpr std::array<const char*, 5> kNames = {"JOB", "COD", "FORM", "HAL", "VAL"};
    return kNames[static_cast<std::size_t>(category)];
}

// Points in uploaded job data: GSI point blocks, or every non-empty line of
// other formats.
int PointCount(const std::vector<std::string>& lines, const std::string& family) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        if (family == "GSI") {
            return l.starts_with("*11") || l.starts_with("11");
        }
        return l != "\r\n";
    }));
}

std::pair<std::string_view, std::string_view> SplitFirst(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, slash), text.substr(slash + 1)};
}

} // namespace

Instrument::Instrument(InstrumentContent& content, UploadSink* sink)
    : content_(content), sink_(sink) {}

SimReply Instrument::Handle(const std::string& line) {
    const std::string_view command = WithoutLineEnd(line);
    if (!upload_) {
        return Command(command);
    }
    if (command == "a" || command == "c") {
        return Reset();
    }
    if (command == upload_->command) {
        return {upload_->reply}; // the start command again after a time-out
    }
    if (!line.empty() && line.front() == '\x1A') {
        Commit(*upload_);
        EndUpload(true);
        return Line("?");
    }
    return ReceiveData(line);
}

SimReply Instrument::Command(std::string_view command) {
    using Handler = SimReply (Instrument::*)(Category, std::string_view);
    struct Route {
        std::string_view prefix;
        Category category;
        Handler handler;
    };
    static const std::array<Route, 14> kRoutes = {{
        {"JOB/RCV/", Category::Job, &Instrument::Receive},
        {"CODE/RCV/", Category::Code, &Instrument::Receive},
        {"HAL/RCV/", Category::Hal, &Instrument::Receive},
        {"VAL/RCV/", Category::Val, &Instrument::Receive},
        {"JOB/ERASE/", Category::Job, &Instrument::EraseItem},
        {"CODE/ERASE/", Category::Code, &Instrument::EraseItem},
        {"HAL/ERASE/", Category::Hal, &Instrument::EraseItem},
        {"VAL/ERASE/", Category::Val, &Instrument::EraseItem},
        {"JOB/SND/COORD/", Category::Job, nullptr},
        {"CODE/SND/", Category::Code, nullptr},
        {"HAL/SND/", Category::Hal, nullptr},
        {"VAL/SND/", Category::Val, nullptr},
        {"JOB/SET/", Category::Job, nullptr},
        {"FORM/SET/", Category::Format, nullptr},
    }};
    static const std::array<std::pair<std::string_view, Category>, 5> kLists = {{
        {"CODE/CONF/LIST", Category::Code},
        {"JOB/CONF/LIST", Category::Job},
        {"FORM/CONF/LIST", Category::Format},
        {"HAL/CONF/LIST", Category::Hal},
        {"VAL/CONF/LIST", Category::Val},
    }};
    if (command == "a" || command == "c") {
        return Reset();
    }
    if (command == "?") {
        return Next();
    }
    if (command.starts_with('\x1A')) {
        return Line("?"); // end-of-file bytes repeated after the upload had ended
    }
    if (command == "GET//WI13") {
        return Line(content_.Identity());
    }
    for (const auto& [text, category] : kLists) {
        if (command == text) {
            return List(category);
        }
    }
    if (command.starts_with("CONF/")) {
        return Config(command.substr(5));
    }
    for (const Route& route : kRoutes) {
        if (!command.starts_with(route.prefix)) {
            continue;
        }
        const std::string_view rest = command.substr(route.prefix.size());
        if (route.handler != nullptr) {
            return (this->*route.handler)(route.category, rest);
        }
        if (route.category == Category::Format) {
            return SetFormat(rest);
        }
        if (route.prefix == "JOB/SET/") {
            return SelectJob(rest);
        }
        return StartUpload(route.category, rest, command);
    }
    return Line(kUnknownCommand);
}

SimReply Instrument::Reset() {
    pending_.clear();
    selectedJob_.reset();
    if (upload_) {
        EndUpload(false);
    }
    return Line("?");
}

SimReply Instrument::Config(std::string_view parameter) const {
    static const std::array<std::pair<std::string_view, std::string_view>, 3> kValues = {{
        {"182", "0182/0031"},
        {"136", "0136/0000"},
        {"137", "0137/0001"},
    }};
    for (const auto& [name, value] : kValues) {
        if (parameter == name) {
            return Line(value);
        }
    }
    return Line(kBadParameter);
}

SimReply Instrument::List(Category category) {
    pending_.clear();
    for (const auto& entry : content_.List(category)) {
        pending_.push_back({entry.Line()});
    }
    return Next();
}

SimReply Instrument::Next() {
    if (pending_.empty()) {
        return {std::string(kEndLine)};
    }
    SimReply reply = std::move(pending_.front());
    pending_.pop_front();
    return reply;
}

SimReply Instrument::Transfer(std::string header, std::vector<std::string> data) {
    pending_.clear();
    int index = 0;
    for (auto& line : data) {
        pending_.push_back({std::move(line), ++index});
    }
    return Line(header);
}

SimReply Instrument::SetFormat(std::string_view arg) {
    if (arg.empty()) {
        return Line(kBadParameter);
    }
    // Format 0 is GSI output; every other format is written as IDEX.
    const auto& formats = content_.List(Category::Format);
    const auto known = std::find_if(formats.begin(), formats.end(), [&](const auto& entry) {
        return entry.Id() == arg || entry.Name() == arg;
    });
    format_.arg = arg;
    format_.family = arg == "0" || arg == "GSI" ? "GSI" : "IDEX";
    format_.name = known != formats.end() ? known->Name() : format_.family;
    return Line(format_.family + "," + format_.arg + ",1,3");
}

SimReply Instrument::Receive(Category category, std::string_view rest) {
    std::string part;
    std::string_view id = rest;
    if (category == Category::Job) {
        const auto [code, item] = SplitFirst(rest);
        const auto known = PartOf(code);
        if (!known) {
            return Line(kBadParameter);
        }
        part = *known;
        id = item;
    }
    const auto* entry = content_.Find(category, id);
    if (entry == nullptr) {
        pending_.clear();
        return Next(); // nothing to send: the end line at once
    }
    const bool road = category == Category::Hal || category == Category::Val;
    const std::string format = road ? "txt" : format_.name;
    auto data = content_.Data(DataBase(category, id, part), format, road ? "txt" : format_.family);
    std::string header =
        std::string(CategoryName(category)) + "," + entry->Name() + "," + std::string(id);
    if (!part.empty()) {
        header += "," + part;
    }
    if (!road) {
        header += "," + format_.name;
    }
    header += "," + std::to_string(data.size());
    return Transfer(std::move(header), std::move(data));
}

SimReply Instrument::EraseItem(Category category, std::string_view rest) {
    std::string_view id = rest;
    std::optional<std::string> part;
    if (category == Category::Job) {
        const auto [code, item] = SplitFirst(rest);
        part = PartOf(code);
        if (!part) {
            return Line(kBadParameter);
        }
        id = item;
    }
    auto* entry = content_.Find(category, id);
    if (entry == nullptr) {
        return Line(kNoSuchItem);
    }
    content_.Erase(DataBase(category, id, part.value_or("")));
    if (part) {
        entry->SetField(*part == "COORDS" ? 2 : 3, "0");
    }
    // A job stays while one of its parts holds points.
    if (!part || (entry->Field(2) == "0" && entry->Field(3) == "0")) {
        content_.Remove(category, id);
    }
    return Line("?");
}

SimReply Instrument::SelectJob(std::string_view rest) {
    const std::size_t slash = rest.rfind('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == rest.size()) {
        return Line(kBadParameter);
    }
    const std::string name(rest.substr(0, slash));
    const std::string id(rest.substr(slash + 1));
    if (auto* entry = content_.Find(Category::Job, id)) {
        entry->SetField(0, name);
    } else {
        content_.List(Category::Job).push_back({{name, id, "0", "0"}});
    }
    selectedJob_ = id;
    return Line(name);
}

SimReply Instrument::StartUpload(Category category, std::string_view id, std::string_view command) {
    const std::string reply = Reply(category, id);
    if (reply.empty()) {
        return Line(kNoSuchItem);
    }
    selectedJob_.reset();
    upload_ = Upload{category, std::string(id), std::string(command), reply, {}};
    if (sink_ != nullptr) {
        sink_->UploadStarted(CategoryName(category));
    }
    return {reply};
}

// What the instrument answers to the start of an upload: a job opened with
// JOB/SET is acknowledged, any other job is confirmed with its list line, a
// code list with its name; road data goes into the road receive buffers.
std::string Instrument::Reply(Category category, std::string_view id) const {
    switch (category) {
    case Category::Hal:
        return "RoadHal,1,0\r\n";
    case Category::Val:
        return "RoadVal,1,0\r\n";
    default:
        break;
    }
    const auto* entry = std::as_const(content_).Find(category, id);
    if (entry == nullptr) {
        return {};
    }
    if (category == Category::Job) {
        return selectedJob_ == id ? std::string("?\r\n") : entry->Line();
    }
    return entry->Name() + "\r\n";
}

SimReply Instrument::ReceiveData(const std::string& line) {
    upload_->lines.push_back(line);
    if (sink_ != nullptr) {
        sink_->UploadLine(line);
    }
    SimReply reply = Line("?");
    reply.uploadIndex = static_cast<int>(upload_->lines.size());
    return reply;
}

void Instrument::EndUpload(bool completed) {
    if (sink_ != nullptr) {
        sink_->UploadEnded(completed);
    }
    upload_.reset();
}

void Instrument::Commit(const Upload& upload) {
    if (upload.category == Category::Hal || upload.category == Category::Val) {
        CommitRoad(upload.category, upload.lines);
        return;
    }
    auto* entry = content_.Find(upload.category, upload.id);
    if (entry == nullptr) {
        return; // erased meanwhile
    }
    const bool job = upload.category == Category::Job;
    content_.Replace(DataBase(upload.category, upload.id, job ? "COORDS" : ""), format_.name,
                     upload.lines);
    entry->SetField(2, std::to_string(PointCount(upload.lines, job ? format_.family : "")));
}

// Road data is kept as the alignment named after the receive buffer
// ("RoadHal", "RoadVal"), replacing an earlier one of that name.
void Instrument::CommitRoad(Category category, const std::vector<std::string>& lines) {
    const std::string name = category == Category::Hal ? "RoadHal" : "RoadVal";
    auto& list = content_.List(category);
    auto found = std::find_if(list.begin(), list.end(),
                              [&](const auto& entry) { return entry.Name() == name; });
    if (found == list.end()) {
        list.push_back({{name, content_.NextId(category), "0"}});
        found = std::prev(list.end());
    }
    content_.Replace(DataBase(category, found->Id(), ""), "txt", lines);
    found->SetField(2, std::to_string(PointCount(lines, "")));
}

std::optional<std::string> Instrument::PartOf(std::string_view code) {
    if (code == "COORDS" || code == "COORD" || code == "1") {
        return "COORDS";
    }
    if (code == "OBSERV" || code == "2") {
        return "OBSERV";
    }
    return std::nullopt;
}

std::string Instrument::DataBase(Category category, std::string_view id, std::string_view part) {
    std::string base = std::string("data/") + CategoryName(category) + "/" + std::string(id);
    return part.empty() ? base : base + "/" + std::string(part);
}
