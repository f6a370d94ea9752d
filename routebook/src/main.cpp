// routebook: the "Road Line Editor", a window for road alignments, and
// --stations / --convert for scripts.

#include "routebook/CommandLine.h"
#include "routebook/RouteBookWindow.h"

#include "sharedwidgets/FileWindowStart.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!FileWindowStart::MeansWindow(args)) {
        return routebook::CommandLine().Run(args, std::cout, std::cerr);
    }
    return FileWindowStart::Run(argc, argv, QStringLiteral("routebook"),
                                QStringLiteral("Road Line Editor"), [](const QStringList& files) {
                                    auto window = std::make_unique<RouteBookWindow>();
                                    window->OpenFiles(files);
                                    return std::unique_ptr<QWidget>(std::move(window));
                                });
}
