// Saves a picture of the codebook window to the file given first, with the
// book given second open and its first code selected. Run it on a real
// display server, for example under xvfb-run.
#include "codebook/CodeBookWindow.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Codebook Manager"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <picture.png> <book>\n", argv[0]);
        return 2;
    }
    CodeBookWindow window;
    if (!window.OpenFile(QString::fromLocal8Bit(argv[2]))) {
        return 1;
    }
    window.resize(1180, 560);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    window.Table()->resizeColumnsToContents();
    window.Table()->selectRow(0);
    QTest::qWait(300);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
