// What the window's dialogs keep, refuse and say so that no field data is
// lost or mislabelled, clicked through against the simulated instrument:
// point files of parts without coordinates, empty parts, names that the
// request would ignore, a dialog shown again, the data type a code-list
// download sends, and the part a copy takes.

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

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class FieldDataSafetyTest : public SimDesk {
    Q_OBJECT

private slots:
    void init() { Start({}); }
    void cleanup() { Stop(); }

    void pointFileOfAPartWithoutCoordinatesIsNotWritten();
    void emptyPartCannotBeErased();
    void ignoredNamesAreReadOnlyAndRoadDataSaysWhereItLands();
    void dialogShownAgainKeepsTheChoices();
    void codeListDownloadSendsTheTypedDataType();
    void copyTakesThePartOfItsNodeAndAsksItFromTheEntry();
    void eraseEndNamesWhatWasErased();
    void portSetWithoutAnAnswerOffersTheEarlierSettings();
    void lineLostWhileIdleFoldsThePortAndLeavesConnected();

private:
    void Download(const QString& entry, const QString& detail);
    static QLineEdit* NameEdit(QWidget* dialog) {
        return dialog->findChild<QLineEdit*>(QStringLiteral("edit1004"));
    }
};

void FieldDataSafetyTest::Download(const QString& entry, const QString& detail) {
    DragBetweenTrees(view_, Node(EntryKind::Job, entry, detail), pc_, pc_->DesktopItem());
    WaitForTheEnd();
}

// Measurements hold names but no coordinates: no point file, and the user
// is told why. Fixed points give one, counted in points on the status bar.
void FieldDataSafetyTest::pointFileOfAPartWithoutCoordinatesIsNotWritten() {
    const auto asPointFile = [this] {
        hand_->OnDialog([](QWidget* dialog) {
            UserHand::ChooseInCombo(dialog, "combo1005", QStringLiteral("CASS"));
            UserHand::ClickButton(dialog, QStringLiteral("OK"));
        });
    };
    asPointFile();
    Download("JobList:3 [IN:SITE03]", "MeasurementPoints:18");
    QTRY_COMPARE(hand_->messages.size(), 1);
    QVERIFY2(hand_->messages[0].startsWith(
                 QStringLiteral("No point file was written to \"%1\": the data received (18 "
                                "point blocks) holds no coordinates")
                     .arg(Desk("SITE03.dat"))),
             qPrintable(hand_->messages[0]));
    QVERIFY(QDir(Desk()).isEmpty());
    hand_->messages.clear();

    asPointFile();
    Download("JobList:3 [IN:SITE03]", "FixPoints:12");
    QCOMPARE(FileBytes(Desk("SITE03.dat")).count("\r\n"), 12);
    QCOMPARE(frame_->StatusBar()->currentMessage(),
             QStringLiteral("SITE03.dat: 12 points written"));
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// The delete dialog says which part of which job is empty before OK and
// lets no OK through.
void FieldDataSafetyTest::emptyPartCannotBeErased() {
    bool okEnabled = true;
    QString note;
    hand_->ChooseFromMenu(QStringLiteral("Delete File"));
    hand_->OnDialog([&](QWidget* dialog) {
        okEnabled = dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled();
        note = Text(dialog, "noteErase");
        UserHand::ClickButton(dialog, QStringLiteral("CANCEL"));
    });
    RightClick(Node(EntryKind::Job, "JobList:2 [IN:ROAD7]", "MeasurementPoints:0"));
    WaitForTheEnd();
    QVERIFY(!okEnabled);
    QCOMPARE(note, QStringLiteral("Data NULL: ROAD7 holds no measurement points."));
    QCOMPARE(Details(EntryKind::Job, "JobList:2 [IN:ROAD7]"),
             (QStringList{"FixPoints:48", "MeasurementPoints:0"}));
}

// A name the request would not use cannot be typed; the instrument takes
// road data into its receiving alignment, and the dialog, the progress and
// the tree afterwards all say so.
void FieldDataSafetyTest::ignoredNamesAreReadOnlyAndRoadDataSaysWhereItLands() {
    Start({"--baud", "9600"}); // the progress of two lines stays long enough to be read
    struct Seen {
        bool readOnly = false;
        QString to;
    };
    Seen erase;
    hand_->ChooseFromMenu(QStringLiteral("Delete File"));
    hand_->OnDialog([&](QWidget* dialog) {
        erase.readOnly = NameEdit(dialog)->isReadOnly();
        UserHand::ClickButton(dialog, QStringLiteral("CANCEL"));
    });
    RightClick(Node(EntryKind::Job, "JobList:3 [IN:SITE03]", "FixPoints:12"));
    WaitForTheEnd();
    QVERIFY(erase.readOnly);

    WriteFile(Desk("curve.hal"), "A,1\r\nB,2\r\n");
    pc_->Refresh();
    Seen upload;
    QString progressTo;
    hand_->OnDialog([&](QWidget* dialog) {
        upload = {NameEdit(dialog)->isReadOnly(), Text(dialog, "text1003")};
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    hand_->OnDialog([&](QWidget* progress) { progressTo = Text(progress, "text1035"); });
    QTRY_VERIFY(Child(pc_->DesktopItem(), "curve.hal") != nullptr);
    DragBetweenTrees(pc_, Child(pc_->DesktopItem(), "curve.hal"), view_,
                     Node(EntryKind::Hal, "HalList:1"));
    WaitForTheEnd();
    QVERIFY(upload.readOnly);
    const QString road = QStringLiteral("RoadHal, the instrument's receiving alignment (new, or "
                                        "replacing an earlier RoadHal); MAINST stays as it is");
    QCOMPARE(upload.to, road);
    QCOMPARE(progressTo, road);
    QTRY_COMPARE(Details(EntryKind::Hal, "HalList:3"), QStringList{"Points:2"});
    QCOMPARE(Details(EntryKind::Hal, "HalList:1"), QStringList{"Points:6"});
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// OK with an empty name brings the dialog back as the user left it: a user
// who then only types a name gets what they chose, not the defaults.
void FieldDataSafetyTest::dialogShownAgainKeepsTheChoices() {
    QStringList again;
    hand_->OnDialog([](QWidget* dialog) {
        UserHand::ChooseInCombo(dialog, "combo1005", QStringLiteral("CASS"));
        UserHand::ChooseInCombo(dialog, "combo1008", QStringLiteral("COORDS"));
        QTest::keyClick(NameEdit(dialog), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(NameEdit(dialog), Qt::Key_Backspace);
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    hand_->ClickInDialog(QStringLiteral("OK")); // "Please enter a file name."
    hand_->OnDialog([&again](QWidget* dialog) {
        again = {Text(dialog, "combo1005"), Text(dialog, "combo1008"), Text(dialog, "edit1004")};
        QTest::keyClicks(NameEdit(dialog), QStringLiteral("named"));
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    Download("JobList:3 [IN:SITE03]", "MeasurementPoints:18");
    QCOMPARE(again, (QStringList{"CASS", "COORDS", ""}));
    QCOMPARE(FileBytes(Desk("named.dat")).count("\r\n"), 12);
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// The typed type goes to the instrument as typed, whatever it answers.
void FieldDataSafetyTest::codeListDownloadSendsTheTypedDataType() {
    const QString simLog = temp_.filePath(QStringLiteral("x4sim.log"));
    Start({"--log", QFile::encodeName(simLog).toStdString()});
    hand_->OnDialog([](QWidget* dialog) {
        QLineEdit* type = dialog->findChild<QComboBox*>(QStringLiteral("combo1005"))->lineEdit();
        QTest::keyClick(type, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(type, QStringLiteral("CASS"));
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    DragBetweenTrees(view_, Node(EntryKind::Code, "CodeBook:1"), pc_, pc_->DesktopItem());
    WaitForTheEnd();
    const Traffic sent = Traffic::Read(QFile::encodeName(simLog).toStdString());
    QVERIFY(sent.fromPc.find("FORM/SET/CASS\r\n") != std::string::npos);
    QVERIFY(sent.fromPc.find("FORM/SET/0\r\n") == std::string::npos);
}

// "Copy File" from a detail node preselects its part and writes it; from
// the job's entry (which has the same menu) OK waits for the user's part.
void FieldDataSafetyTest::copyTakesThePartOfItsNodeAndAsksItFromTheEntry() {
    struct Case {
        QString detail, shownPart, chosenPart, data;
        bool okAtFirst;
    };
    const Case cases[] = {
        {"FixPoints:12", "COORDS", "", "JOB/3/COORDS.GSI", true},
        {"MeasurementPoints:18", "OBSERV", "", "JOB/3/OBSERV.GSI", true},
        {"", "", "COORDS", "JOB/3/COORDS.GSI", false},
    };
    for (const Case& c : cases) {
        QFile::remove(Desk("SITE03.gsi"));
        QString shown;
        bool okAtFirst = !c.okAtFirst;
        hand_->ChooseFromMenu(QStringLiteral("Copy File"));
        RightClick(Node(EntryKind::Job, "JobList:3 [IN:SITE03]", c.detail));
        hand_->ChooseFromMenu(QStringLiteral("Paste File"));
        hand_->OnDialog([&](QWidget* dialog) {
            shown = Text(dialog, "combo1008");
            okAtFirst = dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled();
            if (!c.chosenPart.isEmpty()) {
                UserHand::ChooseInCombo(dialog, "combo1008", c.chosenPart);
            }
            UserHand::ClickButton(dialog, QStringLiteral("OK"));
        });
        pc_->scrollToItem(pc_->DesktopItem());
        QTest::mouseClick(pc_->viewport(), Qt::RightButton, {},
                          pc_->visualItemRect(pc_->DesktopItem()).center());
        WaitForTheEnd();
        QCOMPARE(shown, c.shownPart);
        QCOMPARE(okAtFirst, c.okAtFirst);
        QCOMPARE(FileBytes(Desk("SITE03.gsi")), SentLines(c.data));
    }
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// Erased from the job's entry node, whose menu asks the part.
void FieldDataSafetyTest::eraseEndNamesWhatWasErased() {
    hand_->ChooseFromMenu(QStringLiteral("Delete File"));
    hand_->OnDialog([](QWidget* dialog) {
        UserHand::ChooseInCombo(dialog, "combo1008", QStringLiteral("OBSERV"));
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    RightClick(Node(EntryKind::Job, "JobList:3 [IN:SITE03]"));
    WaitForTheEnd();
    QTRY_COMPARE(frame_->StatusBar()->currentMessage(),
                 QStringLiteral("Erased the measurement points of SITE03"));
    QTRY_COMPARE(Details(EntryKind::Job, "JobList:3 [IN:SITE03]"),
                 (QStringList{"FixPoints:12", "MeasurementPoints:0"}));
    QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
}

// New settings at which the instrument answers nothing: the user is told,
// and the default answer brings the earlier settings back.
void FieldDataSafetyTest::portSetWithoutAnAnswerOffersTheEarlierSettings() {
    view_->SetSilenceLimit(std::chrono::milliseconds(500));
    hand_->ChooseFromMenu(QStringLiteral("Port Set"));
    hand_->OnDialog([this](QWidget* dialog) {
        UserHand::ChooseInCombo(dialog, "baudBox", QStringLiteral("9600"));
        sim_->Pause(true);
        UserHand::ClickButton(dialog, QStringLiteral("OK"));
    });
    RightClick(PortItem());
    WaitForTheEnd();
    QTRY_VERIFY(!hand_->messages.isEmpty() &&
                hand_->messages.last().startsWith(
                    QStringLiteral("The instrument did not answer on COM1 at 9600 baud.")));
    sim_->Pause(false);
    QVERIFY(!view_->IsConnected());
    QCOMPARE(view_->Ports().Find(u"COM1")->settings.baudRate, std::u16string(u"19200"));
}

// Nothing runs when the instrument goes away: the status bar must not go on
// saying the port is connected, and the port is folded as a collapse folds it.
void FieldDataSafetyTest::lineLostWhileIdleFoldsThePortAndLeavesConnected() {
    QCOMPARE(frame_->StatusBar()->currentMessage(), QStringLiteral("COM1: connected"));
    sim_->Stop();
    QTRY_VERIFY_WITH_TIMEOUT(!PortItem()->isExpanded(), 10000);
    QVERIFY2(frame_->StatusBar()->currentMessage().contains(QStringLiteral("the port was lost")),
             qPrintable(frame_->StatusBar()->currentMessage()));
    QCOMPARE(hand_->messages.size(), 1);
    QCOMPARE(hand_->messages[0], frame_->StatusBar()->currentMessage() + QLatin1Char('.'));
}

QTEST_MAIN(FieldDataSafetyTest)
#include "FieldDataSafetyTest.moc"
