// The table of transfer endings run through the stationlink window against
// x4sim's faults, as a user's hand drives it (stationlink-cli runs the same
// table).

// Mouse events go through the window, as the window system delivers them.
#define QTEST_QPA_MOUSE_HANDLING

#include "SimDesk.h"
#include "TreeChild.h"
#include "TreeDrag.h"

#include "testsupport/Conversations.h"
#include "testsupport/TransferEndings.h"

#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

QString Native(const std::string& text) {
    return QString::fromStdString(text);
}

// The row's --timeout, which the window takes as its silence limit.
std::chrono::seconds TimeoutOf(const endings::Row& row) {
    const auto option = std::find(row.command.begin(), row.command.end(), "--timeout");
    return option == row.command.end() ? std::chrono::seconds(0)
                                       : std::chrono::seconds(std::stoi(*(option + 1)));
}

} // namespace

class WindowEndingsTest : public SimDesk {
    Q_OBJECT

private slots:
    void cleanup() { Stop(); }
    void eachFaultEndsAsTheTableSays();
    void everyErrorReplyEndsTheOperationAndTheNextWorks();

private:
    void Act(const endings::Row& row);
};

// What the user does for the row's command; a connect is the port's
// expanding, which Start has done.
void WindowEndingsTest::Act(const endings::Row& row) {
    const EntryKind kind = *CategoryOf(Native(row.command[1]).toStdU16String());
    QTreeWidgetItem* node = Node(kind, Native(row.entry), Native(row.detail));
    QVERIFY(node != nullptr);
    hand_->ClickInDialog(QStringLiteral("OK"));
    if (row.command.front() == "upload") {
        WriteFile(Desk(endings::kUpload), QByteArray::fromStdString(endings::UploadLines()));
        pc_->Refresh();
        hand_->ClickInDialog(QStringLiteral("Yes")); // the instrument's data is replaced
        QTRY_VERIFY(Child(pc_->DesktopItem(), endings::kUpload) != nullptr);
        DragBetweenTrees(pc_, Child(pc_->DesktopItem(), endings::kUpload), view_, node);
        return;
    }
    if (!row.earlier.empty()) {
        WriteFile(Desk(Native(row.earlier)), endings::kEarlier);
        hand_->ClickInDialog(QStringLiteral("Replace"));
    }
    if (row.cut == endings::Cut::Cancel) {
        hand_->OnDialog([this](QWidget* progress) {
            QVERIFY(QTest::qWaitFor([this] { return view_->ProgressSteps() >= 5; }, 20000));
            UserHand::ClickButton(progress, QStringLiteral("Cancel"));
        });
    }
    QTreeWidgetItem* folder = pc_->DesktopItem();
    if (row.cut == endings::Cut::FolderGone) {
        QVERIFY(QDir().mkpath(Desk("gone")));
        pc_->Refresh();
        QTRY_VERIFY((folder = Child(pc_->DesktopItem(), "gone")) != nullptr);
        QVERIFY(QDir(Desk("gone")).removeRecursively());
    }
    DragBetweenTrees(view_, node, pc_, folder);
}

void WindowEndingsTest::eachFaultEndsAsTheTableSays() {
    for (const endings::Row& row : endings::Rows()) {
        const QByteArray name(row.ending);
        silenceLimit_ = TimeoutOf(row);
        QTemporaryDir received;
        Start(endings::SimOptions(row, "window-endings-content",
                                  QFile::encodeName(received.path()).toStdString()));
        if (row.command.front() != "list") {
            Act(row);
        }
        WaitForTheEnd();
        QString destination = QDir::cleanPath(Desk());
        if (row.cut == endings::Cut::FolderGone) {
            destination += QStringLiteral("/gone");
        }
        const auto says = endings::Says(row, destination.toStdString());
        if (says.empty()) {
            QTest::qWait(200);
            QVERIFY2(hand_->messages.isEmpty(), name + ": " + hand_->messages.join('\n').toUtf8());
        } else {
            QTRY_VERIFY2(!hand_->messages.isEmpty(), name);
            const QString said = hand_->messages.join('\n');
            QVERIFY2(endings::SaysInOrder(said.toStdString(), says), name + ": " + said.toUtf8());
        }
        const std::string files = endings::FilesDiffer(row, QDir::cleanPath(Desk()).toStdString());
        QVERIFY2(files.empty(), name + ": " + files.c_str());
        const std::string kept =
            endings::KeptDiffers(row, QFile::encodeName(received.path()).toStdString());
        QVERIFY2(kept.empty(), name + ": " + kept.c_str());
        QCOMPARE(view_->IsConnected(), row.idleAfter);
        if (row.idleAfter) {
            hand_->messages.clear();
            hand_->ClickInDialog(QStringLiteral("OK"));
            DragBetweenTrees(view_, Node(EntryKind::Job, "JobList:2 [IN:ROAD7]", "FixPoints:48"),
                             pc_, pc_->DesktopItem());
            WaitForTheEnd();
            QCOMPARE(FileBytes(Desk("ROAD7.gsi")),
                     QByteArray::fromStdString(endings::SentData(endings::kNextData)));
            QVERIFY2(hand_->messages.isEmpty(), name + ": " + hand_->messages.join('\n').toUtf8());
        }
    }
}

// Each error reply (from a field log the simulator replays) ends the erase
// with its meaning; the port stays connected and the next download works.
void WindowEndingsTest::everyErrorReplyEndsTheOperationAndTheNextWorks() {
    for (const endings::Refusal& refusal : endings::kRefusals) {
        const QString log = temp_.filePath(QStringLiteral("field.log"));
        conversations::WriteRefusingLog(QFile::encodeName(log).toStdString(), refusal.code);
        Start({"--replay", QFile::encodeName(log).toStdString()});
        hand_->ChooseFromMenu(QStringLiteral("Delete File"));
        hand_->ClickInDialog(QStringLiteral("OK"));
        RightClick(Node(EntryKind::Job, "JobList:2 [IN:ROAD7]", "FixPoints:48"));
        WaitForTheEnd();
        QTRY_COMPARE(hand_->messages, QStringList{Native(endings::RefusedErase(refusal))});
        hand_->messages.clear();

        hand_->ClickInDialog(QStringLiteral("OK"));
        DragBetweenTrees(view_, Node(EntryKind::Job, "JobList:3 [IN:SITE03]", "FixPoints:12"), pc_,
                         pc_->DesktopItem());
        WaitForTheEnd();
        QVERIFY(view_->IsConnected());
        QCOMPARE(FileBytes(Desk("SITE03.gsi")),
                 QByteArray::fromStdString(endings::SentData("JOB/3/COORDS.GSI")));
        QVERIFY2(hand_->messages.isEmpty(), qPrintable(hand_->messages.join('\n')));
    }
}

QTEST_MAIN(WindowEndingsTest)
#include "WindowEndingsTest.moc"
