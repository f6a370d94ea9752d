#include "CyclePlan.h"

#include "ContentFiles.h"
#include "InstrumentContent.h"

#include <array>

namespace {

struct DemoPart {
    int job;
    const char16_t* part;
};

// The demo jobs' parts that hold data.
constexpr std::array<DemoPart, 5> kParts = {{
    {1, u"COORDS"},
    {1, u"OBSERV"},
    {2, u"COORDS"},
    {3, u"COORDS"},
    {3, u"OBSERV"},
}};
constexpr std::array<const char16_t*, 3> kDataTypes = {u"GSI", u"IDEX", u"CASS"};
constexpr std::array<int, 8> kChunkSizes = {1, 2, 3, 5, 8, 13, 21, 34};

int Between(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool Chance(std::mt19937& random, double p) {
    return std::bernoulli_distribution(p)(random);
}

std::string Ascii(std::u16string_view text) {
    return {text.begin(), text.end()};
}

} // namespace

CyclePlan CyclePlan::Pick(std::mt19937& random) {
    CyclePlan plan;
    const DemoPart& part = kParts[static_cast<std::size_t>(Between(random, 0, kParts.size() - 1))];
    plan.job = part.job;
    plan.part = part.part;
    plan.dataType = kDataTypes[static_cast<std::size_t>(Between(random, 0, kDataTypes.size() - 1))];
    if (Chance(random, 0.3)) {
        plan.warnEvery = Between(random, 2, 9);
    }
    if (Chance(random, 0.3)) {
        plan.chunkBytes =
            kChunkSizes[static_cast<std::size_t>(Between(random, 0, kChunkSizes.size() - 1))];
    }
    if (Chance(random, 0.25)) {
        plan.silentCommands = Between(random, 1, 4);
    }
    if (Chance(random, 0.1)) {
        plan.staleItem = true;
        plan.job = 2; // the only job whose erased part leaves the list
        plan.part = u"COORDS";
    } else if (Chance(random, 0.1)) {
        plan.overlongLine = true;
        plan.chunkBytes = 0; // 64 KiB in pieces of a few bytes 2 ms apart would take a minute
    }
    const bool ordinary = !plan.staleItem && !plan.overlongLine;
    if (ordinary && Chance(random, 0.15)) {
        // Before the part's last line, so the line surely goes during the download.
        plan.hangupAfter = Between(random, 1, static_cast<int>(plan.SourceLines().size()) - 1);
    } else if (Chance(random, 0.1)) {
        plan.hangupInUpload = Between(random, 1, 15); // the soak uploads 16 lines
    }
    plan.reconnect = !plan.HangsUp() && Chance(random, 0.2);
    return plan;
}

CyclePlan CyclePlan::Clean() {
    return {};
}

std::vector<std::string> CyclePlan::SimOptions() const {
    std::vector<std::string> options;
    const std::pair<const char*, int> faults[] = {{"--warn", warnEvery},
                                                  {"--chunk", chunkBytes},
                                                  {"--silent", silentCommands},
                                                  {"--hangup-after", hangupAfter},
                                                  {"--hangup-in-upload", hangupInUpload}};
    for (const auto& [name, value] : faults) {
        if (value > 0) {
            options.insert(options.end(), {name, std::to_string(value)});
        }
    }
    return options;
}

std::chrono::milliseconds CyclePlan::ResendInterval() const {
    using namespace std::chrono_literals;
    return silentCommands > 0 ? 100ms : 8000ms;
}

std::string CyclePlan::Describe() const {
    std::string text = "job " + std::to_string(job) + " " + Ascii(part) + " as " + Ascii(dataType);
    for (const auto& option : SimOptions()) {
        text += " " + option;
    }
    const std::pair<bool, const char*> cases[] = {{staleItem, " (erased first)"},
                                                  {overlongLine, " (over-long line)"},
                                                  {reconnect, " (reconnect)"}};
    for (const auto& [on, name] : cases) {
        text += on ? name : "";
    }
    return text;
}

std::vector<std::string> CyclePlan::SourceLines() const {
    const std::string family = dataType == u"IDEX" ? "IDEX" : "GSI";
    const std::string path = "data/JOB/" + std::to_string(job) + "/" + Ascii(part) + "." + family;
    return InstrumentContent::Lines(ContentFiles::BuiltIn().Read(path).value_or(""));
}

std::u16string CyclePlan::JobLabel() const {
    static const char16_t* const kNames[] = {u"IN:BRIDGE", u"IN:ROAD7", u"IN:SITE03"};
    const std::string id = std::to_string(job);
    return u"JobList:" + std::u16string(id.begin(), id.end()) + u" [" +
           kNames[static_cast<std::size_t>(job - 1)] + u"]";
}
