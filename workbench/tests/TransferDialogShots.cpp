// Saves pictures of stationlink's transfer dialogs as a user meets them:
// the upload dialog and its progress dialog for a stake-out file dropped on
// a job, and the question asked before a download replaces a file. Run on a
// display with an instrument as COM1 (scripts/screenshot-transfers.sh).
// Usage: transfer_dialog_shots <folder>

// Mouse events go through the window, as the window system delivers them.
#define QTEST_QPA_MOUSE_HANDLING

#include "TreeChild.h"
#include "TreeDrag.h"
#include "UserHand.h"

#include "catalogue/EntryKind.h"
#include "workbench/CKestaTDApp.h"
#include "workbench/CLeftView.h"
#include "workbench/CRightView.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

constexpr int kPaintDelayMs = 700;

bool Wait(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 60000);
}

// The whole screen once the dialog in front has painted.
void Shoot(const QString& file) {
    QTest::qWait(kPaintDelayMs);
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

QByteArray StakeOut() {
    QByteArray lines;
    for (int i = 1; i <= 40; ++i) {
        const QByteArray n = QByteArray::number(1000 + i).mid(1);
        lines += "*11" + n + "+000000000000S" + n + " 81..00+00000000015" + n +
                 "000 82..00+00000000027" + n + "500 83..00+0000000000312" + n + " \r\n";
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    PaneFactories panes;
    panes.instrumentTree = [](QWidget* parent) { return new CLeftView(parent); };
    panes.pcTree = [](QWidget* parent) { return new CRightView(parent); };
    int appArgc = 1;
    CKestaTDApp app(appArgc, argv, panes);
    if (argc != 2 || !app.InitInstance()) {
        std::fprintf(stderr, "usage: transfer_dialog_shots FOLDER (on a display)\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    CMainFrame* frame = app.MainFrame();
    frame->setGeometry(frame->screen()->availableGeometry());
    auto* view = static_cast<CLeftView*>(frame->InstrumentTree());
    auto* pc = static_cast<CRightView*>(frame->PcTree());
    UserHand hand;
    int status = 1;

    QTimer::singleShot(kPaintDelayMs, frame, [&] {
        view->ExpandPort(QStringLiteral("COM1"));
        if (!Wait([&] { return view->WaitDialog() == nullptr && !view->OperationRunning(); })) {
            std::fprintf(stderr, "transfer_dialog_shots: COM1 did not connect: %s\n",
                         qPrintable(hand.messages.join(QLatin1Char(' '))));
            app.exit(1);
            return;
        }
        WriteFile(pc->DesktopPath() + QStringLiteral("/stakeout.gsi"), StakeOut());
        WriteFile(pc->DesktopPath() + QStringLiteral("/BRIDGE.gsi"), "earlier download\r\n");
        pc->expandItem(pc->DesktopItem());

        hand.OnDialog([&](QWidget* dialog) {
            Shoot(out.filePath(QStringLiteral("upload-dialog.png")));
            UserHand::ClickButton(dialog, QStringLiteral("OK"));
        });
        hand.OnDialog(
            [&](QWidget*) { Shoot(out.filePath(QStringLiteral("upload-progress.png"))); });
        DragBetweenTrees(pc, Child(pc->DesktopItem(), QStringLiteral("stakeout.gsi")), view,
                         Child(view->CategoryItem(EntryKind::Job), QStringLiteral("JobList:4 []")));
        Wait([&] { return !view->OperationRunning() && hand.Pending() == 0; });

        hand.ClickInDialog(QStringLiteral("OK"));
        hand.OnDialog([&](QWidget* question) {
            Shoot(out.filePath(QStringLiteral("overwrite-question.png")));
            UserHand::ClickButton(question, QStringLiteral("Cancel"));
        });
        QTreeWidgetItem* bridge =
            Child(view->CategoryItem(EntryKind::Job), QStringLiteral("JobList:1 [IN:BRIDGE]"));
        DragBetweenTrees(view, Child(bridge, QStringLiteral("MeasurementPoints:36")), pc,
                         pc->DesktopItem());
        status = Wait([&] { return hand.Pending() == 0; }) ? 0 : 1;
        app.exit(status);
    });
    app.exec();
    return status;
}
