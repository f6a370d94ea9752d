#pragma once

#include <chrono>
#include <random>
#include <string>
#include <vector>

// What one soak cycle does and which faults the simulated instrument shows
// in it, drawn from the soak's seeded random source: each fault is switched
// on by chance, and the cycle downloads one job part of the demo content in
// one data type. Besides the instrument's faults a cycle may download an
// item erased since the list was read, meet a line too long to take, or
// reconnect after a point-file download.
class CyclePlan {
public:
    static CyclePlan Pick(std::mt19937& random);
    // A plan without faults that downloads job 1's coordinates raw.
    static CyclePlan Clean();

    // The x4sim options of the faults.
    std::vector<std::string> SimOptions() const;
    // Short while the instrument ignores commands, so resends wake it soon;
    // the engine's usual interval otherwise.
    std::chrono::milliseconds ResendInterval() const;
    bool HangsUp() const { return hangupAfter > 0 || hangupInUpload > 0; }
    std::string Describe() const;

    // The instrument's data lines (CR LF each, header not included) that the
    // download reads: the demo file of the part in the data type's family.
    std::vector<std::string> SourceLines() const;
    // The entry label as the listing shows it.
    std::u16string JobLabel() const;

    int warnEvery = 0;
    int chunkBytes = 0;
    int silentCommands = 0;
    int hangupAfter = 0;
    int hangupInUpload = 0;
    bool staleItem = false;    // the part is erased before it is downloaded
    bool overlongLine = false; // the part's third line is longer than the engine takes
    bool reconnect = false;    // a connect follows the download, which it must leave alone
    int job = 1;
    std::u16string part = u"COORDS";
    std::u16string dataType = u"GSI"; // "GSI", "IDEX" or "CASS"
};
