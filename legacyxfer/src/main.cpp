// legacyxfer: the launcher's "USB Communication", a window for instruments
// that only send and receive, and "receive"/"send" for scripts.

#include "legacyxfer/CommandLine.h"
#include "legacyxfer/LegacyXferWindow.h"

#include "sharedwidgets/FileWindowStart.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] != "--screenshot") {
        return legacyxfer::Run(args, std::cout, std::cerr);
    }
    return FileWindowStart::Run(argc, argv, QStringLiteral("legacyxfer"),
                                QStringLiteral("USB Communication"), [](const QStringList&) {
                                    return std::unique_ptr<QWidget>(
                                        std::make_unique<LegacyXferWindow>());
                                });
}
