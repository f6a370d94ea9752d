// What a surveyor's clicks do to field data, driven by mouse and key events
// through the real window against the simulated instrument: the part of a
// job that "Delete File" erases, the question before a download replaces a
// file, the question before a collapse stops a transfer, what an upload's
// dialogs say, and port settings changed while connected.

// Mouse events go through the window, as the window system delivers them.
#define QTEST_QPA_MOUSE_HANDLING
#include "SimDesk.h"
#include "TrafficReader.h"
#include "TreeChild.h"
#include "TreeDrag.h"

#include "sharedwidgets/CFrameStatusBar.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"
#include "workbench/FrameCommand.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

class UserChoicesTest : public SimDesk {
    Q_OBJECT

private slots:
    void init() { Start({}); }
    void cleanup() { Stop(); }

    void deleteFileErasesThePartThatWasClicked();
    void existingFileIsReplacedKeptOrLeftAsTheUserSays();
    void collapseDuringATransferAsksAndStopsIt();
    void uploadSaysWhatGoesWhere();
    void portSettingsApplyToTheConnectedPortAtOnce();
    void trafficLogMatchesTheSimulatorsLog();

private:
    void ExpectADownloadToWork();
};

// The next download runs as any would: the instrument and the tree are fine.
void UserChoicesTest::ExpectADownloadToWork() {
    hand_->ClickInDialog(QStringLiteral("OK"));
    DragBetweenTrees(view_, Node(EntryKind::Val, "ValList:1"), pc_, pc_->DesktopItem());
    WaitForTheEnd();
    QCOMPARE(FileBytes(Desk("MAINST.val")), SentLines("VAL/1.txt"));
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// The part of the node clicked is preselected and named before OK; the
// instrument's list afterwards shows that only it went. From the entry no
// part is chosen, and OK waits for one.
void UserChoicesTest::deleteFileErasesThePartThatWasClicked() {
    struct Case {
        QString entry, detail, part, note;
        QStringList after;
    };
    const Case cases[] = {
        {"JobList:3 [IN:SITE03]",
         "MeasurementPoints:18",
         "OBSERV",
         "OK erases 18 measurement points of SITE03.",
         {"FixPoints:12", "MeasurementPoints:0"}},
        {"JobList:1 [IN:BRIDGE]",
         "FixPoints:24",
         "COORDS",
         "OK erases 24 fixed points of BRIDGE.",
         {"FixPoints:0", "MeasurementPoints:36"}},
    };
    for (const Case& c : cases) {
        QString part;
        QString note;
        hand_->ChooseFromMenu(QStringLiteral("Delete File"));
        hand_->OnDialog([&](QWidget* dialog) {
            part = Text(dialog, "combo1008");
            note = Text(dialog, "noteErase");
            UserHand::ClickButton(dialog, QStringLiteral("OK"));
        });
        RightClick(Node(EntryKind::Job, c.entry, c.detail));
        WaitForTheEnd();
        QCOMPARE(part, c.part);
        QCOMPARE(note, c.note);
        QTRY_COMPARE(Details(EntryKind::Job, c.entry), c.after);
    }

    bool okAtFirst = true;
    bool okOnceChosen = false;
    QString note;
    hand_->OnDialog([&](QWidget* dialog) {
        okAtFirst = dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled();
        UserHand::ChooseInCombo(dialog, "combo1008", QStringLiteral("OBSERV"));
        okOnceChosen = dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled();
        note = Text(dialog, "noteErase");
        UserHand::ClickButton(dialog, QStringLiteral("CANCEL"));
    });
    // The entry clicked, then the dialog bar's delete button.
    QTreeWidgetItem* entry = Node(EntryKind::Job, "JobList:1 [IN:BRIDGE]");
    view_->scrollToItem(entry);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualItemRect(entry).center());
    QTest::mouseClick(CommandButton(IDC_DELETE_BUTTON), Qt::LeftButton);
    WaitForTheEnd();
    QVERIFY(!okAtFirst);
    QVERIFY(okOnceChosen);
    QCOMPARE(note, QStringLiteral("OK erases 36 measurement points of BRIDGE."));
    QCOMPARE(Details(EntryKind::Job, "JobList:1 [IN:BRIDGE]"),
             (QStringList{"FixPoints:0", "MeasurementPoints:36"}));
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

void UserChoicesTest::existingFileIsReplacedKeptOrLeftAsTheUserSays() {
    WriteFile(Desk("BRIDGE.gsi"), "earlier");
    const QByteArray data = SentLines("JOB/1/OBSERV.GSI");
    QStringList questions;
    for (const QString answer : {"Cancel", "Keep Both", "Replace"}) {
        hand_->ClickInDialog(QStringLiteral("OK"));
        hand_->OnDialog([&questions, answer](QWidget* box) {
            questions << Text(box, "qt_msgbox_label");
            UserHand::ClickButton(box, answer);
        });
        DragBetweenTrees(view_,
                         Node(EntryKind::Job, "JobList:1 [IN:BRIDGE]", "MeasurementPoints:36"), pc_,
                         pc_->DesktopItem());
        WaitForTheEnd();
        if (answer == QLatin1String("Cancel")) {
            QCOMPARE(FileBytes(Desk("BRIDGE.gsi")), QByteArray("earlier"));
            QVERIFY(!QFile::exists(Desk("BRIDGE (2).gsi")));
        }
    }
    QVERIFY2(questions[1].contains("\"BRIDGE.gsi\" already exists") &&
                 questions[1].contains("\"BRIDGE (2).gsi\""),
             qPrintable(questions[1]));
    QCOMPARE(FileBytes(Desk("BRIDGE (2).gsi")), data);
    QCOMPARE(FileBytes(Desk("BRIDGE.gsi")), data);
    // The expanded desktop shows what was written, without being opened again.
    QTRY_VERIFY(Child(pc_->DesktopItem(), "BRIDGE (2).gsi") != nullptr);
    QTRY_VERIFY(Child(pc_->DesktopItem(), "BRIDGE.gsi.part") == nullptr);
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// The port folded while a transfer runs behind its progress dialog (the
// dialog keeps the user's hands off the tree; the program folds it when the
// line goes) asks first: "No" keeps the transfer, "Yes" stops it as a cancel.
void UserChoicesTest::collapseDuringATransferAsksAndStopsIt() {
    Start({"--baud", "9600"});
    bool keptByNo = false;
    hand_->ClickInDialog(QStringLiteral("OK"));
    hand_->OnDialog([&](QWidget*) {
        QVERIFY(QTest::qWaitFor([this] { return !FileBytes(Desk("BRIDGE.gsi.part")).isEmpty(); },
                                20000));
        hand_->ClickInDialog(QStringLiteral("No"));
        PortItem()->setExpanded(false);
        keptByNo = view_->OperationRunning() && PortItem()->isExpanded();
        hand_->ClickInDialog(QStringLiteral("Yes"));
        PortItem()->setExpanded(false);
    });
    DragBetweenTrees(view_, Node(EntryKind::Job, "JobList:1 [IN:BRIDGE]", "MeasurementPoints:36"),
                     pc_, pc_->DesktopItem());
    WaitForTheEnd();
    QVERIFY(keptByNo);
    QVERIFY(!PortItem()->isExpanded());
    QVERIFY(!QFile::exists(Desk("BRIDGE.gsi")));
    QVERIFY(SentLines("JOB/1/OBSERV.GSI").startsWith(FileBytes(Desk("BRIDGE.gsi.part"))));
    QTRY_COMPARE(hand_->messages.size(), 1);
    QVERIFY2(hand_->messages[0].contains("The download of JobList:1 [IN:BRIDGE] was stopped"),
             qPrintable(hand_->messages[0]));
}

void UserChoicesTest::uploadSaysWhatGoesWhere() {
    Start({"--baud", "9600"});
    const QByteArray lines = StakeOut(12);
    WriteFile(Desk("stakeout.gsi"), lines);
    pc_->Refresh();
    QString caption;
    QString offered;
    QStringList progress;
    hand_->OnDialog([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        offered = Text(dialog, "edit1004");
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    hand_->OnDialog([&](QWidget* dialog) {
        progress = {dialog->windowTitle(), Text(dialog, "text1033"), Text(dialog, "text1034"),
                    Text(dialog, "text1035")};
    });
    QTRY_VERIFY(Child(pc_->DesktopItem(), "stakeout.gsi") != nullptr);
    DragBetweenTrees(pc_, Child(pc_->DesktopItem(), "stakeout.gsi"), view_,
                     Node(EntryKind::Job, "JobList:4 []"));
    WaitForTheEnd();
    QCOMPARE(caption, QStringLiteral("Upload File"));
    // The entry has no name: the PC file's is offered.
    QCOMPARE(offered, QStringLiteral("stakeout"));
    QCOMPARE(progress, (QStringList{"Sending...", "GSI", Desk("stakeout.gsi"), "JobList:4 []"}));
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
    QTRY_VERIFY(Node(EntryKind::Job, "JobList:4 [stakeout]") != nullptr);

    // Into a job that holds points the user is asked first; "No" sends nothing.
    QString question;
    hand_->ClickInDialog(QStringLiteral("OK"));
    hand_->OnDialog([&](QWidget* box) {
        question = Text(box, "qt_msgbox_label");
        UserHand::ClickButton(box, QStringLiteral("No"));
    });
    DragBetweenTrees(pc_, Child(pc_->DesktopItem(), "stakeout.gsi"), view_,
                     Node(EntryKind::Job, "JobList:3 [IN:SITE03]"));
    QTRY_COMPARE(question, QStringLiteral("SITE03 holds 12 fixed points; the upload replaces them "
                                          "with the 12 of stakeout.gsi. Replace them?"));
    QVERIFY(Node(EntryKind::Job, "JobList:3 [IN:SITE03]", "FixPoints:12") != nullptr);
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
    ExpectADownloadToWork();
}

// The baud rate chosen for the connected port is in force on its device at
// once, the lists are read again at it and the status bar says the
// instrument answered: the next download works as before.
void UserChoicesTest::portSettingsApplyToTheConnectedPortAtOnce() {
    hand_->ChooseFromMenu(QStringLiteral("Port Set"));
    hand_->OnDialog([](QWidget* dialog) {
        UserHand::ChooseInCombo(dialog, "baudBox", QStringLiteral("9600"));
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    RightClick(PortItem());
    WaitForTheEnd();
    QTRY_COMPARE(frame_->StatusBar()->currentMessage(),
                 QStringLiteral("COM1: the instrument answered at 9600 baud"));
    QVERIFY(view_->IsConnected());
    const int fd = ::open(sim_->Device().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        QSKIP("the port is open exclusively (not running as root)");
    }
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::close(fd);
    QCOMPARE(::cfgetospeed(&settings), static_cast<speed_t>(B9600));

    ExpectADownloadToWork();
}

// The log switched on in the window holds, byte for byte in each direction,
// what the simulator logged of a connect, a download and an upload.
void UserChoicesTest::trafficLogMatchesTheSimulatorsLog() {
    const QString simLog = temp_.filePath(QStringLiteral("x4sim.log"));
    const QString windowLog = temp_.filePath(QStringLiteral("window.log"));
    Start({"--log", QFile::encodeName(simLog).toStdString()}, windowLog);
    QVERIFY(frame_->findChild<QAction*>(QStringLiteral("actionTrafficLog"))->isChecked());
    hand_->ClickInDialog(QStringLiteral("OK"));
    DragBetweenTrees(view_, Node(EntryKind::Job, "JobList:3 [IN:SITE03]", "FixPoints:12"), pc_,
                     pc_->DesktopItem());
    WaitForTheEnd();
    WriteFile(Desk("codes.txt"), "TREE\nPOLE\n");
    pc_->Refresh();
    hand_->ClickInDialog(QStringLiteral("OK"));
    hand_->ClickInDialog(QStringLiteral("Yes")); // TOPO's codes are replaced
    QTRY_VERIFY(Child(pc_->DesktopItem(), "codes.txt") != nullptr);
    DragBetweenTrees(pc_, Child(pc_->DesktopItem(), "codes.txt"), view_,
                     Node(EntryKind::Code, "CodeBook:1"));
    WaitForTheEnd();
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));

    const Traffic ours = Traffic::Read(QFile::encodeName(windowLog).toStdString());
    const Traffic theirs = Traffic::Read(QFile::encodeName(simLog).toStdString());
    QVERIFY(ours.fromPc.find("JOB/RCV/") != std::string::npos);
    QVERIFY(ours.fromPc.find("TREE\r\nPOLE\r\n") != std::string::npos);
    QVERIFY(ours.fromPc == theirs.fromPc);
    QVERIFY(ours.fromInstrument == theirs.fromInstrument);
}

QTEST_MAIN(UserChoicesTest)
#include "UserChoicesTest.moc"
