// coordbook: the "Coordinate Editor", a window for coordinate files, and
// --convert for scripts.

#include "coordbook/CommandLine.h"
#include "coordbook/CoordBookWindow.h"

#include "sharedwidgets/FileWindowStart.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!FileWindowStart::MeansWindow(args)) {
        return coordbook::CommandLine().Run(args, std::cout, std::cerr);
    }
    return FileWindowStart::Run(argc, argv, QStringLiteral("coordbook"),
                                QStringLiteral("Coordinate Editor"), [](const QStringList& files) {
                                    auto window = std::make_unique<CoordBookWindow>();
                                    window->OpenFiles(files);
                                    return std::unique_ptr<QWidget>(std::move(window));
                                });
}
