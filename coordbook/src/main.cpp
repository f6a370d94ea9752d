// coordbook: the "Coordinate Editor", a window for coordinate files, and
// --convert for scripts.

#include "coordbook/CommandLine.h"
#include "coordbook/CoordBookWindow.h"

#include "workbench/ScreenCapture.h"
#include "workbench/WireCodePageCheck.h"

#include <QApplication>
#include <QCommandLineParser>

#include <iostream>

namespace {

int RunWindow(int& argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("StationLink"));
    QApplication::setApplicationName(QStringLiteral("coordbook"));
    QApplication::setApplicationDisplayName(QStringLiteral("Coordinate Editor"));
    if (!WireCodePageCheck::Passes()) {
        return CommandLine::kExitUsage;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Coordinate Editor"));
    const ScreenCapture screenshot;
    screenshot.AddTo(parser);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Point files (.dat) and GSI jobs to open."),
                                 QStringLiteral("[files...]"));
    parser.process(app);
    CoordBookWindow window;
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
