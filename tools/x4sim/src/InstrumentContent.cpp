#include "InstrumentContent.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

std::size_t Index(InstrumentContent::Category category) {
    return static_cast<std::size_t>(category);
}

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.emplace_back(line.substr(0, comma));
        if (comma == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(comma + 1);
    }
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::string InstrumentContent::Entry::Line() const {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i == 0 ? "" : ",") + fields[i];
    }
    return line + "\r\n";
}

std::string InstrumentContent::Entry::Field(std::size_t index) const {
    return index < fields.size() ? fields[index] : std::string();
}

void InstrumentContent::Entry::SetField(std::size_t index, std::string value) {
    if (index < fields.size()) {
        fields[index] = std::move(value);
    }
}

InstrumentContent::InstrumentContent(ContentFiles files) : files_(std::move(files)) {}

const char* InstrumentContent::FileOf(Category category) {
    static constexpr std::array<const char*, 5> kFiles = {"jobs.txt", "codes.txt", "formats.txt",
                                                          "hal.txt", "val.txt"};
    return kFiles[Index(category)];
}

bool InstrumentContent::Load(std::string& error) {
    const auto identity = files_.Read("identity.txt");
    if (!identity || Lines(*identity).empty()) {
        error = files_.Origin() + ": identity.txt is missing or empty";
        return false;
    }
    identity_ = WithoutLineEnd(Lines(*identity).front());
    for (Category category :
         {Category::Job, Category::Code, Category::Format, Category::Hal, Category::Val}) {
        auto& list = lists_[Index(category)];
        list.clear();
        for (const std::string& line : Lines(files_.Read(FileOf(category)).value_or(""))) {
            if (const std::string text = WithoutLineEnd(line); !text.empty()) {
                list.push_back({SplitFields(text)});
            }
        }
    }
    return true;
}

std::vector<InstrumentContent::Entry>& InstrumentContent::List(Category category) {
    return lists_[Index(category)];
}

const InstrumentContent::Entry* InstrumentContent::Find(Category category,
                                                        std::string_view id) const {
    const auto& list = lists_[Index(category)];
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const Entry& entry) { return entry.Id() == id; });
    return found != list.end() ? &*found : nullptr;
}

InstrumentContent::Entry* InstrumentContent::Find(Category category, std::string_view id) {
    return const_cast<Entry*>(std::as_const(*this).Find(category, id));
}

void InstrumentContent::Remove(Category category, std::string_view id) {
    std::erase_if(List(category), [&](const Entry& entry) { return entry.Id() == id; });
}

std::string InstrumentContent::NextId(Category category) const {
    int highest = 0;
    for (const Entry& entry : lists_[Index(category)]) {
        int id = 0;
        const std::string text = entry.Id();
        std::from_chars(text.data(), text.data() + text.size(), id);
        highest = std::max(highest, id);
    }
    return std::to_string(highest + 1);
}

std::vector<std::string> InstrumentContent::Data(const std::string& base, const std::string& format,
                                                 const std::string& fallback) const {
    if (const auto stored = replaced_.find(base); stored != replaced_.end()) {
        const bool matches = stored->second.format == format || stored->second.format == fallback;
        return matches ? stored->second.lines : std::vector<std::string>();
    }
    auto text = files_.Read(base + "." + format);
    if (!text) {
        text = files_.Read(base + "." + fallback);
    }
    return Lines(text.value_or(""));
}

void InstrumentContent::Replace(const std::string& base, const std::string& format,
                                std::vector<std::string> lines) {
    replaced_[base] = {format, std::move(lines)};
}

void InstrumentContent::Erase(const std::string& base) {
    replaced_[base] = {};
}

std::vector<std::string> InstrumentContent::Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line + "\r\n");
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}
