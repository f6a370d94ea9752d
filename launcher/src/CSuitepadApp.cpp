#include "launcher/CSuitepadApp.h"

#include "launcher/CSuitepadDlg.h"

CSuitepadApp::CSuitepadApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The settings key the suite's programs share; the launcher itself stores nothing.
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    setApplicationName(QStringLiteral("suitepad"));
    setApplicationVersion(QStringLiteral("1.0"));
    setWindowIcon(CSuitepadDlg::ApplicationIcon());
}

int CSuitepadApp::Run() {
    CSuitepadDlg dialog;
    dialog.exec();
    return 0;
}
