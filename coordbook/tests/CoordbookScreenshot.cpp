// Saves a picture of the coordbook window to the file given first, with the
// coordinate files given after it open: the last file's points sorted by
// name, a few of them selected (ringed in the plan) and one renamed to the
// name of another, which marks both. Run it on a real display server, for
// example under xvfb-run.
#include "coordbook/BookPage.h"
#include "coordbook/BookTableModel.h"
#include "coordbook/CoordBookWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Coordinate Editor"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <picture.png> <file>...\n", argv[0]);
        return 2;
    }
    QStringList files;
    for (int i = 2; i < argc; ++i) {
        files << QString::fromLocal8Bit(argv[i]);
    }
    CoordBookWindow window;
    window.OpenFiles(files);
    window.resize(1200, 720);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    BookPage& page = *window.Current();
    QAbstractItemModel& table = *page.Table()->model();
    page.Table()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    table.setData(table.index(5, 0), table.index(4, 0).data());
    page.SelectRows({6, 7, 8, 9});
    QTest::qWait(300);
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
