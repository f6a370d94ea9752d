#include "alignedit/CAlignEditApp.h"

#include "alignedit/CMainFrame.h"

#include "sharedwidgets/ScreenCapture.h"
#include "sharedwidgets/WireCodePageCheck.h"

#include <QCommandLineParser>
#include <QMdiArea>
#include <QTimer>

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
    const ScreenCapture screenshot;
    screenshot.AddTo(parser);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."),
                                 QStringLiteral("[files...]"));
    parser.process(*this);
    if (!WireCodePageCheck::Passes()) {
        return false;
    }

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
    if (screenshot.Requested(parser)) {
        // The picture shows every open document side by side.
        screenshot.Schedule(parser, *frame_);
        QTimer::singleShot(0, frame_->MdiArea(), &QMdiArea::tileSubWindows);
    }
    return true;
}
