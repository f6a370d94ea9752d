#pragma once

// Exit status of stationlink-cli.
enum ExitCode : int {
    kExitDone = 0,
    kExitFailed = 1, // the instrument, the port or a file failed
    kExitUsage = 2,
};
