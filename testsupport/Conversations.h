#pragma once

// The reference conversations with the simulated instrument, shared by the
// tests of stationlink-cli and of the window: each program's traffic, as
// x4sim logged it, must be its reference's. STATIONLINK_RECORD=1 makes a
// test write the references anew instead.

#include "TrafficReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace conversations {

inline std::filesystem::path Reference(const std::string& name) {
    return std::filesystem::path(CONVERSATIONS_DIR) / (name + ".log");
}

inline bool Recording() {
    return std::getenv("STATIONLINK_RECORD") != nullptr;
}

// A stopped transfer's traffic without what depends on the moment of the
// stop: the data lines the instrument sent (any line of `data`) are left
// out, and the PC's polls for them count as one.
inline Traffic WithoutDataRun(Traffic traffic, const std::string& data) {
    std::string instrument;
    for (std::size_t at = 0; at < traffic.fromInstrument.size();) {
        std::size_t end = traffic.fromInstrument.find("\r\n", at);
        end = end == std::string::npos ? traffic.fromInstrument.size() : end + 2;
        const std::string line = traffic.fromInstrument.substr(at, end - at);
        if (line.size() <= 3 || data.find(line) == std::string::npos) {
            instrument += line;
        }
        at = end;
    }
    traffic.fromInstrument = instrument;
    for (auto at = traffic.fromPc.find("?\r\n?\r\n"); at != std::string::npos;
         at = traffic.fromPc.find("?\r\n?\r\n", at)) {
        traffic.fromPc.erase(at, 3);
    }
    return traffic;
}

struct Compared {
    Traffic expected;
    Traffic got;
};

// The reference `name` and a run's log, ready to be compared (written
// into the reference first when recording); a stopped download's, whose
// data lines as sent are `stoppedData`, without its data run.
inline Compared Compare(const std::string& name, const std::filesystem::path& log,
                        const std::string& stoppedData = {}) {
    if (Recording()) {
        std::filesystem::copy_file(log, Reference(name),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    Compared both{Traffic::Read(Reference(name)), Traffic::Read(log)};
    if (!stoppedData.empty()) {
        both.expected = WithoutDataRun(both.expected, stoppedData);
        both.got = WithoutDataRun(both.got, stoppedData);
    }
    return both;
}

// A log for x4sim --replay in which the instrument refuses the erase of
// ROAD7's fixed points with `code`: the erase's reference up to its erase
// command, the error reply, then the lists read again and the download's
// reference (its connect serves a program that connects anew).
inline void WriteRefusingLog(const std::filesystem::path& path, const std::string& code) {
    std::ofstream out(path, std::ios::binary);
    std::ifstream erase(Reference("erase"), std::ios::binary);
    for (std::string line; std::getline(erase, line);) {
        out << line << "\n";
        if (line.find("PC->X4 \"JOB/ERASE/") != std::string::npos) {
            break;
        }
    }
    out << "0 X4->PC \"" << code << "\\r\\n\"\n";
    for (const char* next : {"connect", "download"}) {
        out << std::ifstream(Reference(next), std::ios::binary).rdbuf();
    }
}

} // namespace conversations
