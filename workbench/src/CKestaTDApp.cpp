#include "workbench/CKestaTDApp.h"

#include "sharedwidgets/ScreenCapture.h"
#include "sharedwidgets/WireCodePageCheck.h"
#include "workbench/CLeftView.h"
#include "workbench/StationlinkIcon.h"

#include <QCommandLineParser>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace {
const QString kTitle = QStringLiteral("Velmor Data Exchange Manager");
} // namespace

CKestaTDApp::CKestaTDApp(int& argc, char** argv, PaneFactories factories)
    : QApplication(argc, argv), factories_(std::move(factories)) {
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("stationlink"));
    // Message boxes are titled with it, as the main window is.
    setApplicationDisplayName(kTitle);
    setApplicationVersion(QStringLiteral("2.0"));
    setWindowIcon(LoadStationlinkIcon(StationlinkIcon::Application));
}

CKestaTDApp::~CKestaTDApp() = default;

bool CKestaTDApp::InitInstance() {
    QCommandLineParser parser;
    parser.setApplicationDescription(kTitle);
    parser.addHelpOption();
    parser.addVersionOption();
    const ScreenCapture screenshot;
    screenshot.AddTo(parser);
    QCommandLineOption connectPort(
        QStringLiteral("connect"),
        QStringLiteral("Expand the instrument tree's <port> at start-up, "
                       "as a click on it would."),
        QStringLiteral("port"));
    parser.addOption(connectPort);
    QCommandLineOption trafficLog(
        QStringLiteral("log"),
        QStringLiteral("Write every byte of the serial line to <file> (a traffic log)."),
        QStringLiteral("file"));
    parser.addOption(trafficLog);
    parser.process(*this);
    if (!WireCodePageCheck::Passes()) {
        return false;
    }

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
    if (auto* tree = dynamic_cast<CLeftView*>(frame_->InstrumentTree());
        tree != nullptr && parser.isSet(trafficLog)) {
        QString error;
        const bool on = tree->StartTrafficLog(parser.value(trafficLog), error);
        frame_->ShowTrafficLogOn(on);
        if (!on) {
            QMessageBox::warning(frame_.get(), kTitle, error);
        }
    }
    if (screenshot.Requested(parser)) {
        screenshot.Schedule(parser, *frame_);
    }
    return true;
}
