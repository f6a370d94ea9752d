#include "alignedit/CAlignEditApp.h"

#include "alignedit/CMainFrame.h"

#include <QCommandLineParser>
#include <QMdiArea>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace {
// Time for the window system to map and paint the window before a screenshot.
constexpr int kScreenshotDelayMs = 1500;
} // namespace

CAlignEditApp::CAlignEditApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("alignedit"));
    setApplicationVersion(QStringLiteral("2.0"));
}

CAlignEditApp::~CAlignEditApp() = default;

bool CAlignEditApp::InitInstance() {
    QCommandLineParser parser;
    parser.setApplicationDescription(CMainFrame::kCaption);
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the screen to <file> after "
                                                 "start-up and quit."),
                                  QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."),
                                 QStringLiteral("[files...]"));
    parser.process(*this);

    frame_ = std::make_unique<CMainFrame>();
    setWindowIcon(frame_->windowIcon());
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        frame_->OnFileNew();
    }
    for (const QString& file : files) {
        if (frame_->OpenDocumentFile(file) == nullptr) {
            return false;
        }
    }
    frame_->show();
    if (parser.isSet(screenshot)) {
        ScheduleScreenshot(parser.value(screenshot));
    }
    return true;
}

void CAlignEditApp::ScheduleScreenshot(const QString& path) {
    // Without a window manager nothing places the window: fill the screen and
    // show every document.
    frame_->setGeometry(frame_->screen()->availableGeometry());
    QTimer::singleShot(0, frame_->MdiArea(), &QMdiArea::tileSubWindows);
    QTimer::singleShot(kScreenshotDelayMs, this, [this, path] {
        const bool saved = frame_->screen()->grabWindow(0).save(path, "PNG");
        exit(saved ? 0 : 1);
    });
}
