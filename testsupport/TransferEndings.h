#pragma once

// How a transfer ends, each ending brought about by one of the simulated
// instrument's real faults, with what must be left on disk and said
// afterwards. stationlink and stationlink-cli both run this one table: the
// same fault gives the same ending, the same files and the same words in
// the window's message box and on the command line's standard error.

#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace endings {

// What the simulated instrument holds.
enum class Content {
    Demo,
    EmptyPart,             // SITE03's fixed points are listed, their data file is empty
    OverlongLine,          // SITE03's third fixed-point line is 65,537 bytes long
    CodeListWithoutNumber, // a code list listed as "BLANK,,3": its upload sends "FORM/SET/"
};

// What the user does to the running operation.
enum class Cut {
    None,
    Cancel,     // Ctrl+C for the command line, "Cancel" in the window's progress dialog
    FolderGone, // the destination folder is removed after it was chosen
};

struct Named {
    const char* ending;
};

// The fault: x4sim's options besides --data, and its content.
struct Fault {
    std::vector<std::string> sim;
    Content content;
};

struct Action {
    // stationlink-cli's command after its port: DIR is the destination
    // folder, FILE the file to upload (kUpload, in that folder). "list" is
    // a connect alone.
    std::vector<std::string> command;
    // The window's node under the command's category: dragged onto the
    // folder, or the upload's target.
    std::string entry;
    std::string detail;
    Cut cut;
    // A file the folder holds before, that the user agrees to replace
    // (stationlink-cli's --overwrite, "Replace" in the window): it is
    // replaced only by a complete download, never by a failed one.
    std::string earlier;
};

struct After {
    int status; // stationlink-cli's exit status
    // The port is still open and the instrument idle: the next download
    // works without a new connect. Otherwise the window has folded the port.
    bool idleAfter;
    // The destination folder afterwards: nothing (the upload's own file
    // aside), the whole data or its first `lines` lines (0: some, cut where
    // the user stopped), under this name.
    std::string file;
    std::string data; // the demo data file it comes from
    // For an upload: the lines of kUpload the instrument kept (x4sim's
    // --received), which its message must count.
    std::size_t lines;
    // Fragments of the message, in order; {dir} stands for the folder.
    std::vector<std::string> says;
};

struct Row : Named, Fault, Action, After {};

inline constexpr const char* kUpload = "stake.gsi";
inline constexpr const char* kEarlier = "earlier\r\n";
// The download that follows where the instrument is idle again: ROAD7's
// fixed points, which no row touches.
inline constexpr const char* kNextData = "JOB/2/COORDS.GSI";

// Five fixed points for SITE03: the upload the table cuts off.
inline std::string UploadLines() {
    std::string lines;
    for (int i = 1; i <= 5; ++i) {
        lines += "*11000" + std::to_string(i) + "+0000000000000P" + std::to_string(i) +
                 " 81..00+0000000000001000 \r\n";
    }
    return lines;
}

// The download of a job's part into DIR, replacing the file of its name
// that is there already.
inline Action Download(const std::string& job, const std::string& part, const std::string& entry,
                       const std::string& detail, Cut cut) {
    return {{"download", "JOB", job, "--part", part, "--to", "DIR", "--overwrite"},
            entry,
            detail,
            cut,
            job + ".gsi"};
}

inline const std::vector<Row>& Rows() {
    const std::string site03Data = "JOB/3/COORDS.GSI";
    const Action site03 =
        Download("SITE03", "COORDS", "JobList:3 [IN:SITE03]", "FixPoints:12", Cut::None);
    Action intoGone = site03;
    intoGone.cut = Cut::FolderGone;
    intoGone.earlier.clear();
    const Action stopped =
        Download("BRIDGE", "OBSERV", "JobList:1 [IN:BRIDGE]", "MeasurementPoints:36", Cut::Cancel);
    const Action upload{{"upload", "JOB", "SITE03", "FILE", "--replace"},
                        "JobList:3 [IN:SITE03]",
                        "",
                        Cut::None,
                        ""};
    const Action uploadBlank{
        {"upload", "COD", "BLANK", "FILE", "--replace"}, "CodeBook:", "", Cut::None, ""};
    const Action connect{{"list", "--timeout", "2"}, "", "", Cut::None, ""};
    const std::string lost = "): the port was lost: the line was closed or the device unplugged. ";
    static const std::vector<Row> rows{
        {{"done"}, {{}, Content::Demo}, site03, {0, true, "SITE03.gsi", site03Data, 0, {}}},
        {{"no data"},
         {{}, Content::EmptyPart},
         site03,
         {1,
          true,
          "",
          "",
          0,
          {"The instrument sent no data for JobList:3 [IN:SITE03] (it may have been erased since "
           "its list was read). No file was written."}}},
        {{"lost line"},
         {{"--hangup-after", "3"}, Content::Demo},
         site03,
         {1,
          false,
          "SITE03.gsi.part",
          site03Data,
          3,
          {"COM1 (", lost + "The download of JobList:3 [IN:SITE03] did not end; what arrived (3 "
                            "lines) is kept in \"{dir}/SITE03.gsi.part\"."}}},
        {{"lost line in an upload"},
         {{"--hangup-in-upload", "3"}, Content::Demo},
         upload,
         {1,
          false,
          "",
          "",
          3,
          {"COM1 (",
           lost + "The upload of {dir}/stake.gsi did not end: the instrument took 3 of 5 lines."}}},
        {{"silent"},
         {{"--silent", "1000"}, Content::Demo},
         connect,
         {1,
          false,
          "",
          "",
          0,
          {"COM1: the instrument did not answer for 2 s. The instrument's lists were not read to "
           "their end."}}},
        {{"over-long line"},
         {{}, Content::OverlongLine},
         site03,
         {1,
          true,
          "SITE03.gsi.part",
          site03Data,
          2,
          {"The instrument sent a line longer than 65536 bytes, which cannot be taken. The "
           "download of JobList:3 [IN:SITE03] did not end; what arrived (2 lines) is kept in "
           "\"{dir}/SITE03.gsi.part\"."}}},
        {{"file failed"},
         {{}, Content::Demo},
         intoGone,
         {1,
          true,
          "",
          "",
          0,
          {"Cannot create the file \"{dir}/SITE03.gsi\": No such file or directory. The download "
           "of JobList:3 [IN:SITE03] was not saved; no file was written."}}},
        {{"cancelled"},
         {{"--baud", "9600"}, Content::Demo},
         stopped,
         {130,
          true,
          "BRIDGE.gsi.part",
          "JOB/1/OBSERV.GSI",
          0,
          {"The download of JobList:1 [IN:BRIDGE] was stopped; what arrived (",
           " lines) is kept in \"{dir}/BRIDGE.gsi.part\"."}}},
        {{"instrument error"},
         {{}, Content::CodeListWithoutNumber},
         uploadBlank,
         {1,
          true,
          "",
          "",
          0,
          {"COM1: the instrument answered @E102: a parameter of the command is not one it takes. "
           "The upload of {dir}/stake.gsi did not end: the instrument took 0 of 5 lines."}}},
    };
    return rows;
}

// Every error reply x4sim gives and what the programs say it means; the
// reply ends the operation and the next one works without a new connect.
struct Refusal {
    const char* code;
    const char* meaning;
};
inline constexpr Refusal kRefusals[] = {
    {"@E101", "it does not know the command"},
    {"@E102", "a parameter of the command is not one it takes"},
    {"@E103", "it holds no such item (it may have been erased since its list was read)"},
};

// What both programs say when the erase of ROAD7's fixed points is refused.
inline std::string RefusedErase(const Refusal& refusal) {
    return std::string("COM1: the instrument answered ") + refusal.code + ": " + refusal.meaning +
           ". The erase of the fixed points of ROAD7 did not end.";
}

// The --data folder for a row's content; empty for the built-in demo.
inline std::filesystem::path ContentFor(Content content, const std::string& name) {
    switch (content) {
    case Content::Demo:
        return {};
    case Content::EmptyPart: {
        const auto folder = DemoCopy(name);
        std::ofstream(folder / "data/JOB/3/COORDS.GSI", std::ios::trunc);
        return folder;
    }
    case Content::OverlongLine:
        return DemoCopyWithLine(name, "JOB/3/COORDS.GSI", 2, std::string(64 * 1024 + 1, 'X'));
    case Content::CodeListWithoutNumber: {
        const auto folder = DemoCopy(name);
        std::ofstream(folder / "codes.txt", std::ios::app) << "BLANK,,3\n";
        return folder;
    }
    }
    return {};
}

// x4sim's options for a row: its own, the content's, and the folder where
// it keeps what it received of uploads.
inline std::vector<std::string> SimOptions(const Row& row, const std::string& name,
                                           const std::filesystem::path& received) {
    std::vector<std::string> options = row.sim;
    options.insert(options.end(), {"--received", received.string()});
    const auto content = ContentFor(row.content, name);
    if (!content.empty()) {
        options.insert(options.end(), {"--data", content.string()});
    }
    return options;
}

// The data file as the instrument sends it (every line ending in CR LF),
// whole or its first `lines` lines.
inline std::string SentData(const std::string& relative, std::size_t lines = 0) {
    std::ifstream in(std::filesystem::path(X4SIM_DEMO_DIR) / "data" / relative, std::ios::binary);
    std::string sent;
    std::size_t taken = 0;
    for (std::string line; std::getline(in, line) && (lines == 0 || taken < lines); ++taken) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        sent += line + "\r\n";
    }
    return sent;
}

// What differs between the folder afterwards and what the row leaves
// there; empty when nothing does.
inline std::string FilesDiffer(const Row& row, const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != kUpload) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (const std::string& name : {row.file, row.earlier}) {
        if (!name.empty() && std::find(expected.begin(), expected.end(), name) == expected.end()) {
            expected.push_back(name);
        }
    }
    std::sort(expected.begin(), expected.end());
    if (names != expected) {
        std::string found;
        for (const std::string& name : names) {
            found += " \"" + name + "\"";
        }
        return "the folder holds" + (found.empty() ? std::string(" nothing") : found);
    }
    if (row.command.front() == "upload" && ReadWholeFile(folder / kUpload) != UploadLines()) {
        return "the uploaded file changed";
    }
    if (!row.earlier.empty() && row.earlier != row.file &&
        ReadWholeFile(folder / row.earlier) != kEarlier) {
        return row.earlier + " was replaced by a download that did not end well";
    }
    if (row.file.empty()) {
        return {};
    }
    const std::string bytes = ReadWholeFile(folder / row.file);
    const bool cutByUser = row.cut == Cut::Cancel;
    const std::string sent = SentData(row.data, cutByUser ? 0 : row.lines);
    const bool matches = cutByUser ? !bytes.empty() && bytes.ends_with("\r\n") &&
                                         sent.starts_with(bytes) && bytes != sent
                                   : bytes == sent;
    return matches ? std::string() : row.file + " does not hold what the instrument sent";
}

// What differs between what the instrument kept of an upload and the
// lines the row says it took; empty when nothing does.
inline std::string KeptDiffers(const Row& row, const std::filesystem::path& received) {
    if (row.command.front() != "upload") {
        return {};
    }
    std::string kept;
    for (const auto& entry : std::filesystem::directory_iterator(received)) {
        kept += ReadWholeFile(entry.path());
    }
    std::string took = UploadLines();
    for (std::size_t at = 0, line = 0; at < took.size(); at = took.find('\n', at) + 1, ++line) {
        if (line == row.lines) {
            took.resize(at);
            break;
        }
    }
    return kept == took ? std::string() : "the instrument kept \"" + kept + "\"";
}

// The message fragments with {dir} filled in.
inline std::vector<std::string> Says(const Row& row, const std::string& folder) {
    std::vector<std::string> says = row.says;
    for (std::string& fragment : says) {
        for (auto at = fragment.find("{dir}"); at != std::string::npos;
             at = fragment.find("{dir}")) {
            fragment.replace(at, 5, folder);
        }
    }
    return says;
}

// Whether each fragment stands in the text, in order.
inline bool SaysInOrder(const std::string& text, const std::vector<std::string>& fragments) {
    std::size_t from = 0;
    for (const std::string& fragment : fragments) {
        from = text.find(fragment, from);
        if (from == std::string::npos) {
            return false;
        }
        from += fragment.size();
    }
    return true;
}

} // namespace endings
