#pragma once

#include "legacyxfer/LinePreset.h"
#include "legacyxfer/SendSession.h"

#include <atomic>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class PresetBook;

// legacyxfer without its window:
//   legacyxfer receive PORT -o FILE [--preset NAME] [port options]
//                          [--end-silence S] [--points OUT.dat] [--overwrite] [--quiet]
//   legacyxfer send PORT FILE [--xonxoff | --line-delay MS] [port options] [--quiet]
namespace legacyxfer {

enum ExitStatus { kDone = 0, kFailed = 1, kUsage = 2, kInterrupted = 130 };

struct Request {
    enum class Command { Receive, Send, Help };
    Command command = Command::Help;
    std::string port;
    std::string file; // receive: the capture; send: the file sent
    std::string pointsFile;
    std::string exportFile; // a drawing or GIS file through drawexport
    LinePreset preset;
    SendSession::Pacing pacing = SendSession::Pacing::Flow;
    int lineDelayMs = 0;
    bool overwrite = false;
    bool quiet = false;
};

inline constexpr const char* kUsageText =
    "usage: legacyxfer                      (the window)\n"
    "       legacyxfer receive PORT -o FILE [--preset NAME] [port options]\n"
    "                  [--end-silence S] [--end-marker HEX] [--points OUT.dat]\n"
    "                  [--export OUT.dxf|.gpkg|.geojson|.kml|.shp|.csv]\n"
    "                  [--overwrite] [--quiet]\n"
    "       legacyxfer send PORT FILE [--xonxoff | --line-delay MS] [port options] [--quiet]\n"
    "port options: --baud N --parity NONE|ODD|EVEN --stopbits 0|1 --databits 7|8\n"
    "              --flow NONE|XONXOFF|RTSCTS\n"
    "PORT: a COM name (see stationlink-cli ports) or a device path\n";

// The request, or why the command line is wrong. Presets come from book.
std::optional<Request> Parse(const std::vector<std::string>& args, const PresetBook& book,
                             std::string& error);

// Both end with the exit status; interrupted is Ctrl+C.
int RunReceive(const Request& request, std::ostream& err, const std::atomic<bool>& interrupted);
int RunSend(const Request& request, std::ostream& err, const std::atomic<bool>& interrupted);

// Parses, runs, catches Ctrl+C while running: the whole command line.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace legacyxfer
