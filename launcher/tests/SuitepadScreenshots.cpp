// Saves screenshots of the launcher into the folder given as the first argument:
// suitepad.png (as it opens), suitepad-hover.png (mouse over the first button) and
// suitepad-about.png. Run it on a real display server, for example under xvfb-run.
#include "launcher/CAboutDlg.h"
#include "launcher/CIconButton.h"
#include "launcher/CSuitepadApp.h"
#include "launcher/CSuitepadDlg.h"

#include <QDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    CSuitepadApp app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    CSuitepadDlg dialog;
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the launcher window did not appear\n");
        return 1;
    }
    QTest::mouseMove(&dialog, QPoint(dialog.width() / 2, dialog.height() - 2));
    bool saved = Save(dialog, folder, "suitepad.png");
    auto* first = dialog.findChild<CIconButton*>("dataExchangeButton");
    QTest::mouseMove(first, first->rect().center());
    saved = Save(dialog, folder, "suitepad-hover.png") && saved;

    CAboutDlg about(dialog.windowIcon(), &dialog);
    about.show();
    saved =
        QTest::qWaitForWindowExposed(&about) && Save(about, folder, "suitepad-about.png") && saved;
    return saved ? 0 : 1;
}
