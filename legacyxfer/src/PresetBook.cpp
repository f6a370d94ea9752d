#include "legacyxfer/PresetBook.h"

#include "platform/SafeFileStore.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::string_view kPreset = "preset=";
constexpr std::string_view kLast = "last=";

} // namespace

PresetBook::PresetBook(std::string path) : path_(std::move(path)) {}

std::string PresetBook::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = config != nullptr && *config != '\0'
                                 ? std::string(config)
                                 : std::string(home != nullptr ? home : ".") + "/.config";
    return base + "/stationlink/legacyxfer.presets";
}

void PresetBook::Load(std::vector<std::string>& skipped) {
    kept_.clear();
    last_.clear();
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string_view text(line);
        if (text.starts_with(kPreset)) {
            if (const auto preset = LinePreset::FromText(text.substr(kPreset.size()))) {
                Keep(*preset);
                continue;
            }
        } else if (text.starts_with(kLast)) {
            const std::string_view entry = text.substr(kLast.size());
            if (const std::size_t bar = entry.find('|'); bar != std::string_view::npos) {
                last_[std::string(entry.substr(0, bar))] = std::string(entry.substr(bar + 1));
                continue;
            }
        } else if (text.empty()) {
            continue;
        }
        skipped.push_back(path_ + ":" + std::to_string(number) + ": not a preset line");
    }
}

std::string PresetBook::Save() const {
    std::string text;
    for (const LinePreset& preset : kept_) {
        text.append(kPreset).append(preset.ToText()).append("\n");
    }
    for (const auto& [port, name] : last_) {
        text.append(kLast).append(port).append("|").append(name).append("\n");
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    return SafeFileStore::Replace(path_, text);
}

std::vector<LinePreset> PresetBook::All() const {
    std::vector<LinePreset> all = LinePreset::BuiltIn();
    for (const LinePreset& preset : kept_) {
        const auto same = std::find_if(all.begin(), all.end(),
                                       [&](const LinePreset& p) { return p.name == preset.name; });
        if (same != all.end()) {
            *same = preset;
        } else {
            all.push_back(preset);
        }
    }
    return all;
}

const LinePreset* PresetBook::Find(const std::string& name) const {
    all_ = All();
    const auto found =
        std::find_if(all_.begin(), all_.end(), [&](const LinePreset& p) { return p.name == name; });
    return found == all_.end() ? nullptr : &*found;
}

void PresetBook::Keep(const LinePreset& preset) {
    const auto same = std::find_if(kept_.begin(), kept_.end(),
                                   [&](const LinePreset& p) { return p.name == preset.name; });
    if (same != kept_.end()) {
        *same = preset;
    } else {
        kept_.push_back(preset);
    }
}

void PresetBook::Remove(const std::string& name) {
    std::erase_if(kept_, [&](const LinePreset& p) { return p.name == name; });
}

std::string PresetBook::LastFor(const std::string& port) const {
    const auto found = last_.find(port);
    return found == last_.end() ? std::string() : found->second;
}

void PresetBook::SetLastFor(const std::string& port, const std::string& name) {
    last_[port] = name;
}
