// What the window says over the wire, compared with the reference
// conversations that stationlink-cli's say too: a connect, a download and a
// download stopped with "Cancel", as x4sim logged them.

// Mouse events go through the window, as the window system delivers them.
#define QTEST_QPA_MOUSE_HANDLING

#include "SimDesk.h"
#include "TreeDrag.h"

#include "testsupport/Conversations.h"
#include "testsupport/TransferEndings.h"

#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"

#include <QFile>
#include <QTest>

#include <filesystem>

class WindowConversationTest : public SimDesk {
    Q_OBJECT

private slots:
    void cleanup() { Stop(); }
    void eachActionSaysWhatItsReferenceSays();
};

void WindowConversationTest::eachActionSaysWhatItsReferenceSays() {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        QString entry, detail;   // the job part dragged onto the desktop; none for a connect
        const char* stoppedData; // the data file of a download the user stops
    };
    const Case cases[] = {
        {"connect", {}, {}, {}, nullptr},
        {"download", {}, "JobList:3 [IN:SITE03]", "FixPoints:12", nullptr},
        {"cancel",
         {"--baud", "9600"},
         "JobList:1 [IN:BRIDGE]",
         "MeasurementPoints:36",
         "JOB/1/OBSERV.GSI"},
    };
    for (const Case& c : cases) {
        const std::string log =
            QFile::encodeName(temp_.filePath(QStringLiteral("x4sim.log"))).toStdString();
        std::vector<std::string> sim = c.sim;
        sim.insert(sim.end(), {"--log", log});
        Start(sim);
        if (!c.entry.isEmpty()) {
            hand_->ClickInDialog(QStringLiteral("OK"));
            if (c.stoppedData != nullptr) {
                hand_->OnDialog([this](QWidget* progress) {
                    QVERIFY(QTest::qWaitFor([this] { return view_->ProgressSteps() >= 5; }, 20000));
                    UserHand::ClickButton(progress, QStringLiteral("Cancel"));
                });
            }
            DragBetweenTrees(view_, Node(EntryKind::Job, c.entry, c.detail), pc_,
                             pc_->DesktopItem());
            WaitForTheEnd();
        }
        Stop(); // x4sim's log is complete once it has ended
        const auto [expected, got] = conversations::Compare(
            c.name, log, c.stoppedData != nullptr ? endings::SentData(c.stoppedData) : "");
        QVERIFY2(expected.fromPc.size() > 20, c.name);
        QVERIFY2(got.fromPc == expected.fromPc, c.name);
        QVERIFY2(got.fromInstrument == expected.fromInstrument, c.name);
        std::filesystem::remove(log);
    }
}

QTEST_MAIN(WindowConversationTest)
#include "WindowConversationTest.moc"
