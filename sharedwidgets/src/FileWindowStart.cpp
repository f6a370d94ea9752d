#include "sharedwidgets/FileWindowStart.h"

#include "sharedwidgets/ScreenCapture.h"
#include "sharedwidgets/WireCodePageCheck.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QWidget>

namespace {

const std::string kScreenshot = "--screenshot";
constexpr int kExitUnusableCodePage = 2;

} // namespace

bool FileWindowStart::MeansWindow(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == kScreenshot) {
            ++i;
        } else if (args[i].starts_with('-')) {
            return false;
        }
    }
    return true;
}

int FileWindowStart::Run(int& argc, char** argv, const QString& name, const QString& title,
                         const MakeWindow& make) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("StationLink"));
    QApplication::setApplicationName(name);
    QApplication::setApplicationDisplayName(title);
    if (!WireCodePageCheck::Passes()) {
        return kExitUnusableCodePage;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(title);
    const ScreenCapture screenshot;
    screenshot.AddTo(parser);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."),
                                 QStringLiteral("[files...]"));
    parser.process(app);
    const std::unique_ptr<QWidget> window = make(parser.positionalArguments());
    window->show();
    if (screenshot.Requested(parser)) {
        screenshot.Schedule(parser, *window);
    }
    return QApplication::exec();
}
