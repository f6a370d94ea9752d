// drawexport: field data into CAD and GIS files, in a window or from a terminal.

#include "drawexport/CommandLine.h"
#include "drawexport/DrawExportWindow.h"

#include "sharedwidgets/FileWindowStart.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!FileWindowStart::MeansWindow(args)) {
        return drawexport::CommandLine().Run(args, std::cout, std::cerr);
    }
    return FileWindowStart::Run(argc, argv, QStringLiteral("drawexport"),
                                QStringLiteral("Gsi To Dxf"), [](const QStringList& files) {
                                    auto window = std::make_unique<DrawExportWindow>();
                                    window->OpenFiles(files);
                                    return std::unique_ptr<QWidget>(std::move(window));
                                });
}
