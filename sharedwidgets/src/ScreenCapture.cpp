#include "sharedwidgets/ScreenCapture.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {
// Time for the window system to map and paint the window before a screenshot.
constexpr int kScreenshotDelayMs = 1500;
} // namespace

ScreenCapture::ScreenCapture()
    : option_(QStringLiteral("screenshot"),
              QStringLiteral("Save a picture of the screen to <file> after start-up and quit."),
              QStringLiteral("file")) {}

void ScreenCapture::AddTo(QCommandLineParser& parser) const {
    parser.addOption(option_);
}

bool ScreenCapture::Requested(const QCommandLineParser& parser) const {
    return parser.isSet(option_);
}

void ScreenCapture::Schedule(const QCommandLineParser& parser, QWidget& window) const {
    const QString path = parser.value(option_);
    window.setGeometry(window.screen()->availableGeometry());
    QTimer::singleShot(kScreenshotDelayMs, &window, [&window, path] {
        const bool saved = window.screen()->grabWindow(0).save(path, "PNG");
        QApplication::exit(saved ? 0 : 1);
    });
}
