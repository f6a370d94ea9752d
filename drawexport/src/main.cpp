// drawexport: field data into CAD and GIS files, in a window or from a terminal.

#include "drawexport/CommandLine.h"
#include "drawexport/DrawExportWindow.h"

#include "workbench/ScreenCapture.h"

#include <QApplication>
#include <QCommandLineParser>

#include <iostream>

namespace {

int RunWindow(int& argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("StationLink"));
    QApplication::setApplicationName(QStringLiteral("drawexport"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Gsi To Dxf"));
    const ScreenCapture screenshot;
    screenshot.AddTo(parser);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Field files to open."),
                                 QStringLiteral("[files...]"));
    parser.process(app);
    DrawExportWindow window;
    window.OpenFiles(parser.positionalArguments());
    window.show();
    if (screenshot.Requested(parser)) {
        screenshot.Schedule(parser, window);
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (CommandLine::MeansWindow(args)) {
        return RunWindow(argc, argv);
    }
    return CommandLine().Run(args, std::cout, std::cerr);
}
