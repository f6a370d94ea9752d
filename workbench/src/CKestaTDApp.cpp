#include "workbench/CKestaTDApp.h"

#include "workbench/CLeftView.h"
#include "workbench/StationlinkIcon.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace {
const QString kTitle = QStringLiteral("Velmor Data Exchange Manager");
// Time for the window system to map and paint the window before a screenshot.
constexpr int kScreenshotDelayMs = 1500;
} // namespace

CKestaTDApp::CKestaTDApp(int& argc, char** argv, PaneFactories factories)
    : QApplication(argc, argv), factories_(std::move(factories)) {
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("stationlink"));
    setApplicationVersion(QStringLiteral("2.0"));
    setWindowIcon(LoadStationlinkIcon(StationlinkIcon::Application));
}

CKestaTDApp::~CKestaTDApp() = default;

bool CKestaTDApp::InitInstance() {
    QCommandLineParser parser;
    parser.setApplicationDescription(kTitle);
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the screen to <file> after "
                                                 "start-up and quit."),
                                  QStringLiteral("file"));
    parser.addOption(screenshot);
    QCommandLineOption connectPort(
        QStringLiteral("connect"),
        QStringLiteral("Expand the instrument tree's <port> at start-up, "
                       "as a click on it would."),
        QStringLiteral("port"));
    parser.addOption(connectPort);
    parser.process(*this);

    frame_ = std::make_unique<CMainFrame>(factories_);
    if (!frame_->Create()) {
        frame_.reset();
        QMessageBox::critical(nullptr, kTitle, QStringLiteral("Failed to create empty document."));
        return false;
    }
    frame_->InitialUpdate();
    frame_->setWindowTitle(kTitle);
    // Restored, the window takes most of the screen; it starts maximised.
    const QRect available = frame_->screen()->availableGeometry();
    frame_->resize(available.size() * 4 / 5);
    frame_->showMaximized();

    if (auto* tree = dynamic_cast<CLeftView*>(frame_->InstrumentTree());
        tree != nullptr && parser.isSet(connectPort)) {
        QTimer::singleShot(0, tree,
                           [tree, port = parser.value(connectPort)] { tree->ExpandPort(port); });
    }
    if (parser.isSet(screenshot)) {
        ScheduleScreenshot(parser.value(screenshot));
    }
    return true;
}

void CKestaTDApp::ScheduleScreenshot(const QString& path) {
    // Without a window manager nothing maximises the window: fill the screen
    // as a maximised window would.
    frame_->setGeometry(frame_->screen()->availableGeometry());
    QTimer::singleShot(kScreenshotDelayMs, this, [this, path] {
        const bool saved = frame_->screen()->grabWindow(0).save(path, "PNG");
        exit(saved ? 0 : 1);
    });
}
