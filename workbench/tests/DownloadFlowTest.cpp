// Downloads against the simulated instrument over a pseudo-terminal: drags
// with real mouse events and "Copy File" and "Paste File" for every category,
// "Move File", and the downloads that must not start or must not succeed.

// Mouse events go through the window, as the window system delivers them, so
// the dragging tree's mouse capture decides who gets them: the release over
// the PC tree reaches the instrument tree, which drops there.
#define QTEST_QPA_MOUSE_HANDLING

#include "DialogGuard.h"
#include "MenuChoice.h"
#include "PathLikeNames.h"
#include "SimProcess.h"
#include "TreeChild.h"
#include "TreeDrag.h"

#include "workbench/CDlgReceiving.h"
#include "workbench/CInputPath.h"
#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"

#include "catalogue/DownloadPlan.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <memory>

namespace {

// The instrument tree with its dialogs answered as a user would.
class UserLeftView : public CLeftView {
public:
    explicit UserLeftView(QWidget* parent)
        : CLeftView(parent, PortList::System(),
                    [] { return std::make_unique<TermiosSerialPro>(); }) {}

    QStringList messages;
    QString menuChoice;
    QString dataType;       // chosen in the transfer dialog; empty keeps the first
    QString fileType;       // chosen as the job's part; empty keeps the preselected one
    QStringList typedNames; // typed into the file name, one per dialog; none keeps it
    QString movePath;       // typed into "InputPath"
    QStringList shownNames; // the file names the dialog offered
    QStringList shownTypes; // the file types it preselected
    QStringList shownNotes; // its visible note under the data type, once the type is chosen
    int progressRuns = 0;
    int lastTotal = 0; // the progress dialog's total when it ended

    using CLeftView::contextMenuEvent;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
    QAction* ExecMenu(QMenu& menu, QPoint /*global*/) override {
        return ActionNamed(menu, menuChoice);
    }
    int ExecDialog(QDialog& dialog) override {
        if (auto* transfer = qobject_cast<CKSDeviceToPcDlg*>(&dialog)) {
            return AnswerTransfer(*transfer);
        }
        if (auto* path = qobject_cast<CInputPath*>(&dialog)) {
            path->findChild<QLineEdit*>(QStringLiteral("edit1001"))->setText(movePath);
            return QDialog::Accepted;
        }
        ++progressRuns;
        const DialogGuard guard(dialog);
        const int result = CLeftView::ExecDialog(dialog);
        if (auto* progress = qobject_cast<CDlgReceiving*>(&dialog)) {
            lastTotal = progress->total;
        }
        if (guard.Fired()) {
            messages << QStringLiteral("the progress dialog was never ended");
        }
        return result;
    }

private:
    int AnswerTransfer(CKSDeviceToPcDlg& transfer) {
        transfer.show();
        auto* name = transfer.findChild<QLineEdit*>(QStringLiteral("edit1004"));
        auto* note = transfer.findChild<QLabel*>(QStringLiteral("noteDataType"));
        shownNames << name->text();
        shownTypes << transfer.findChild<QComboBox*>(QStringLiteral("combo1008"))->currentText();
        if (!typedNames.isEmpty()) {
            name->setText(typedNames.takeFirst());
        }
        if (!dataType.isEmpty()) {
            transfer.findChild<QComboBox*>(QStringLiteral("combo1005"))->setCurrentText(dataType);
        }
        shownNotes << (note->isVisible() ? note->text() : QString());
        if (!fileType.isEmpty()) {
            transfer.findChild<QComboBox*>(QStringLiteral("combo1008"))->setCurrentText(fileType);
        }
        transfer.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return transfer.result();
    }
};

// The PC tree whose "Paste File" menu is always chosen.
class PastingPcTree : public CRightView {
public:
    PastingPcTree(QWidget* parent, PcPlaces places) : CRightView(parent, std::move(places)) {}

protected:
    bool ChoosePaste(QPoint /*global*/) override { return true; }
};

// A demo data file as the instrument sends it: every line ends in CR LF.
QByteArray SentLines(const QString& relative) {
    QFile file(QStringLiteral(X4SIM_DEMO_DIR "/data/") + relative);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = file.readAll();
    bytes.replace("\r\n", "\n");
    return bytes.replace("\n", "\r\n");
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DownloadFlowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dragOntoAPcFolderWritesEveryCategory();
    void dragOntoASubfolderGivesThePointFileOfThePart();
    void copyAndPasteEveryCategory();
    void moveFileIntoATypedFolderGivesThePointFile();
    void refusedAndFailedDownloads();
    void pointFileSurvivesAReconnect();
    void lostLineEndsTheDownloadAndFoldsThePort();
    void namesAreFileNamesInTheDropFolder();

private:
    void Start(const std::vector<std::string>& simOptions);
    void Connect();
    QTreeWidgetItem* Node(const QString& category, const QString& entry,
                          const QString& detail = {}) const;
    void RightClickMenu(QTreeWidgetItem* item, const QString& choice);
    void DragOnto(QTreeWidgetItem* node, QTreeWidgetItem* folder);
    QTreeWidgetItem* DeskFolder(const QString& name);
    void CopyAndPaste(QTreeWidgetItem* node);
    QString Desk(const QString& name = {}) const { return temp_.filePath("desk/" + name); }

    QTemporaryDir temp_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<CMainFrame> frame_;
    UserLeftView* view_ = nullptr;
    CRightView* pc_ = nullptr;
};

void DownloadFlowTest::init() {
    Start({});
}

void DownloadFlowTest::Start(const std::vector<std::string>& simOptions) {
    QVERIFY(temp_.isValid());
    QVERIFY(QDir().mkpath(Desk()));
    sim_ = std::make_unique<SimProcess>(simOptions);
    QVERIFY(!sim_->Device().empty());
    const std::string ports = "COM1=" + sim_->Device();
    ::setenv(ComPortMap::kEnvironmentVariable, ports.c_str(), 1);
    PaneFactories panes;
    panes.instrumentTree = [this](QWidget* parent) { return view_ = new UserLeftView(parent); };
    const PcPlaces places{Desk(), [] { return std::vector<std::string>{}; }};
    panes.pcTree = [this, places](QWidget* parent) {
        return pc_ = new PastingPcTree(parent, places);
    };
    frame_ = std::make_unique<CMainFrame>(panes);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    // Inside the screen (offscreen: 800 x 600): the drop finds the tree under
    // the cursor through the screen's windows, and there are none beyond it.
    frame_->resize(780, 580);
    frame_->move(0, 0);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    Connect();
}

void DownloadFlowTest::Connect() {
    Child(view_->RootItem(), QStringLiteral("COM1"))->setExpanded(true);
    QTRY_VERIFY_WITH_TIMEOUT(view_->WaitDialog() == nullptr, 20000);
    QVERIFY(view_->CategoryItem(EntryKind::Val)->childCount() > 0);
}

void DownloadFlowTest::cleanup() {
    frame_.reset();
    sim_.reset();
    QDir(Desk()).removeRecursively();
}

QTreeWidgetItem* DownloadFlowTest::Node(const QString& category, const QString& entry,
                                        const QString& detail) const {
    const auto kind = CategoryOf(std::u16string(reinterpret_cast<const char16_t*>(category.utf16()),
                                                static_cast<std::size_t>(category.size())));
    QTreeWidgetItem* node = Child(view_->CategoryItem(*kind), entry);
    return detail.isEmpty() ? node : Child(node, detail);
}

void DownloadFlowTest::RightClickMenu(QTreeWidgetItem* item, const QString& choice) {
    view_->menuChoice = choice;
    view_->scrollToItem(item);
    const QPoint pos = view_->visualItemRect(item).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view_->viewport()->mapToGlobal(pos));
    view_->contextMenuEvent(&event);
}

// A null node pastes what was copied before.
void DownloadFlowTest::CopyAndPaste(QTreeWidgetItem* node) {
    if (node != nullptr) {
        RightClickMenu(node, QStringLiteral("Copy File"));
    }
    QVERIFY(pc_->HasCopy());
    pc_->scrollToItem(pc_->DesktopItem());
    const QPoint point = pc_->visualItemRect(pc_->DesktopItem()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pc_->viewport()->mapToGlobal(point));
    QApplication::sendEvent(pc_->viewport(), &event);
}

// The user's gesture: press on the instrument node, move past the drag
// distance, move over the PC folder and release there.
void DownloadFlowTest::DragOnto(QTreeWidgetItem* node, QTreeWidgetItem* folder) {
    DragBetweenTrees(view_, node, pc_, folder, [&] {
        QVERIFY(view_->IsDragging());
        QCOMPARE(pc_->DropHighlightItem(), folder);
    });
    QVERIFY(!view_->IsDragging());
}

// A folder on the desk, as the PC tree lists it once the desk is opened.
QTreeWidgetItem* DownloadFlowTest::DeskFolder(const QString& name) {
    pc_->collapseItem(pc_->DesktopItem());
    pc_->expandItem(pc_->DesktopItem());
    return Child(pc_->DesktopItem(), name);
}

void DownloadFlowTest::dragOntoAPcFolderWritesEveryCategory() {
    struct Case {
        QString category, entry, detail, dataType, file, data, shownType, chosenPart = {};
    };
    // From detail nodes and from entry nodes; a job's part is the node the
    // drag started on; from the entry itself none is preselected: the user
    // chooses it.
    const Case cases[] = {
        {"JOB", "JobList:3 [IN:SITE03]", "FixPoints:12", "GSI", "SITE03.gsi", "JOB/3/COORDS.GSI",
         "COORDS"},
        {"JOB", "JobList:1 [IN:BRIDGE]", "", "IDEX", "BRIDGE.idex", "JOB/1/OBSERV.IDEX", "",
         "OBSERV"},
        {"JOB", "JobList:1 [IN:BRIDGE]", "MeasurementPoints:36", "GSI", "BRIDGE.gsi",
         "JOB/1/OBSERV.GSI", "OBSERV"},
        {"JOB", "JobList:3 [IN:SITE03]", "MeasurementPoints:18", "ASCII", "SITE03.txt",
         "JOB/3/OBSERV.IDEX", "OBSERV"},
        {"COD", "CodeBook:1", "Name:TOPO", "IDEX", "TOPO.crf", "COD/1.IDEX", ""},
        {"HAL", "HalList:2", "", "", "RAMPA.hal", "HAL/2.txt", ""},
        {"VAL", "ValList:1", "Points:5", "", "MAINST.val", "VAL/1.txt", ""},
    };
    for (const Case& c : cases) {
        view_->dataType = c.dataType;
        view_->shownTypes.clear();
        view_->fileType = c.chosenPart;
        QTreeWidgetItem* node = Node(c.category, c.entry, c.detail);
        QVERIFY2(node != nullptr, qPrintable(c.entry));
        DragOnto(node, pc_->DesktopItem());
        if (QTest::currentTestFailed()) {
            return;
        }
        const QByteArray written = FileBytes(Desk(c.file));
        QVERIFY2(!written.isEmpty(), qPrintable(c.file));
        QCOMPARE(written, SentLines(c.data));
        QCOMPARE(view_->ProgressSteps(), static_cast<int>(written.count("\r\n")));
        // The dialog ran to the lines the transfer announced, not the list's count.
        QCOMPARE(view_->lastTotal, view_->ProgressSteps());
        QVERIFY(!view_->ProgressShown());
        if (c.category == QLatin1String("JOB")) {
            QCOMPARE(view_->shownTypes, QStringList{c.shownType});
        }
    }
    // The GSI jobs hold bytes above 0x7F in their names: they pass unchanged.
    QVERIFY(FileBytes(Desk("SITE03.gsi")).contains('\xC4'));
    QCOMPARE(view_->shownNames, (QStringList{"SITE03", "BRIDGE", "BRIDGE", "SITE03", "TOPO.crf",
                                             "RAMPA.hal", "MAINST.val"}));
    // The note on other data types shows only while one of them is chosen.
    const QString note = QString::fromStdU16String(std::u16string(DownloadPlan::kOtherTypeNote));
    QCOMPARE(view_->shownNotes.mid(0, 4), (QStringList{{}, {}, {}, note}));
    QCOMPARE(view_->progressRuns, 7);
    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));
}

void DownloadFlowTest::dragOntoASubfolderGivesThePointFileOfThePart() {
    QVERIFY(QDir().mkpath(Desk("points")));
    QTreeWidgetItem* folder = DeskFolder(QStringLiteral("points"));
    QVERIFY(folder != nullptr);
    view_->dataType = QStringLiteral("CASS");
    view_->typedNames = QStringList{"SITE03C"};
    DragOnto(Node("JOB", "JobList:3 [IN:SITE03]", "FixPoints:12"), folder);

    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));
    // The drag is what chooses the part: the fixed points.
    QCOMPARE(view_->shownTypes, QStringList{"COORDS"});
    const QList<QByteArray> points = FileBytes(Desk("points/SITE03C.dat")).split('\n');
    QCOMPARE(points.size(), 13);
    QCOMPARE(points.first(), QByteArray("B1,1843.058,1828.036,352.908,TREE\r"));
    QVERIFY(points[11].startsWith("B12,1932.690,1909.766,352.668,"));
    // The collected lines are the steps: the header and every data line.
    QCOMPARE(view_->ProgressSteps(), 1 + SentLines("JOB/3/COORDS.GSI").count("\r\n"));
}

void DownloadFlowTest::copyAndPasteEveryCategory() {
    struct Case {
        QString category, entry, detail, dataType, file, data;
    };
    const Case cases[] = {
        {"JOB", "JobList:1 [IN:BRIDGE]", "MeasurementPoints:36", "IDEX", "BRIDGE.idex",
         "JOB/1/OBSERV.IDEX"},
        {"JOB", "JobList:1 [IN:BRIDGE]", "FixPoints:24", "GSI", "BRIDGE.gsi", "JOB/1/COORDS.GSI"},
        {"COD", "CodeBook:2", "Name:UTILITY", "GSI", "UTILITY.crf", "COD/2.GSI"},
        {"HAL", "HalList:1", "Points:6", "", "MAINST.hal", "HAL/1.txt"},
        {"VAL", "ValList:2", "Points:3", "", "RAMPA.val", "VAL/2.txt"},
    };
    for (const Case& c : cases) {
        view_->dataType = c.dataType;
        QTreeWidgetItem* node = Node(c.category, c.entry, c.detail);
        QVERIFY2(node != nullptr, qPrintable(c.entry));
        CopyAndPaste(node);
        const QByteArray written = FileBytes(Desk(c.file));
        QVERIFY2(!written.isEmpty(), qPrintable(c.file));
        QCOMPARE(written, SentLines(c.data));
        QCOMPARE(view_->ProgressSteps(), static_cast<int>(written.count("\r\n")));
    }
    // A copy carries the part of the node it was made from.
    QCOMPARE(view_->shownTypes.mid(0, 2), (QStringList{"OBSERV", "COORDS"}));
    QCOMPARE(view_->shownNames.mid(2), (QStringList{"UTILITY.crf", "MAINST.hal", "RAMPA.val"}));
    QCOMPARE(view_->progressRuns, 5);
    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));
}

void DownloadFlowTest::moveFileIntoATypedFolderGivesThePointFile() {
    QVERIFY(QDir().mkpath(Desk("points")));
    QTreeWidgetItem* fix = Node("JOB", "JobList:3 [IN:SITE03]", "FixPoints:12");
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualItemRect(fix).center());
    view_->dataType = QStringLiteral("CASS");
    view_->fileType = QStringLiteral("COORDS");
    view_->typedNames = QStringList{"SITE03"};
    view_->movePath = Desk("points"); // no final "/"
    RightClickMenu(fix, QStringLiteral("Move File"));

    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));
    QVERIFY(!QFile::exists(Desk("pointsSITE03.dat")));
    const QList<QByteArray> lines = FileBytes(Desk("points/SITE03.dat")).split('\n');
    // Header and code blocks skipped: 12 points from the "*11" lines.
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines.last(), QByteArray());
    // The collected lines are the steps: the header and every data line.
    QCOMPARE(view_->ProgressSteps(), 1 + SentLines("JOB/3/COORDS.GSI").count("\r\n"));
}

void DownloadFlowTest::refusedAndFailedDownloads() {
    // Nothing to receive.
    view_->dataType = QStringLiteral("GSI");
    CopyAndPaste(Node("JOB", "JobList:2 [IN:ROAD7]", "MeasurementPoints:0"));
    QCOMPARE(view_->messages,
             QStringList{"Data NULL: ROAD7 holds no measurement points; nothing was downloaded."});
    QCOMPARE(view_->progressRuns, 0);

    // An empty name asks again instead of writing ".gsi".
    view_->messages.clear();
    view_->typedNames = QStringList{"", "named"};
    CopyAndPaste(Node("JOB", "JobList:3 [IN:SITE03]", "FixPoints:12"));
    QCOMPARE(view_->messages,
             QStringList{QString::fromStdU16String(std::u16string(DownloadPlan::kNameNeeded))});
    QVERIFY(!QFile::exists(Desk(".gsi")));
    QCOMPARE(FileBytes(Desk("named.gsi")), SentLines("JOB/3/COORDS.GSI"));

    // A typed folder that is not there: the path in the message, the dialog ended.
    view_->messages.clear();
    view_->movePath = Desk("gone/");
    QTreeWidgetItem* hal = Node("HAL", "HalList:2", "Points:4");
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualItemRect(hal).center());
    RightClickMenu(hal, QStringLiteral("Move File"));
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY2(view_->messages[0].contains(Desk("gone/RAMPA.hal")), qPrintable(view_->messages[0]));
    QVERIFY(!view_->ProgressShown());
    QTRY_VERIFY(!view_->OperationRunning());
    view_->messages.clear();

    // After the port is closed a pending copy says so instead of waiting forever.
    RightClickMenu(Node("COD", "CodeBook:1", "Name:TOPO"), QStringLiteral("Copy File"));
    const int runs = view_->progressRuns;
    view_->ConnectedPortItem()->setExpanded(false);
    const QPoint point = pc_->visualItemRect(pc_->DesktopItem()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pc_->viewport()->mapToGlobal(point));
    QApplication::sendEvent(pc_->viewport(), &event);
    QCOMPARE(view_->messages,
             QStringList{QString::fromStdU16String(std::u16string(DownloadPlan::kNotConnected))});
    QCOMPARE(view_->progressRuns, runs);

    // "Move File" needs an instrument file.
    view_->messages.clear();
    view_->SendUserMessage(UM_MOVE_FILE);
    QCOMPARE(view_->messages, QStringList{"Pls Select Device File"});
}

QTEST_MAIN(DownloadFlowTest)

// The end of the next connect belongs to that connect: the finished point
// file of a download before it stays as it was.
void DownloadFlowTest::pointFileSurvivesAReconnect() {
    view_->dataType = QStringLiteral("CASS");
    view_->fileType = QStringLiteral("COORDS");
    CopyAndPaste(Node("JOB", "JobList:3 [IN:SITE03]", "FixPoints:12"));
    const QByteArray points = FileBytes(Desk("SITE03.dat"));
    QCOMPARE(points.count("\r\n"), 12);
    view_->ConnectedPortItem()->setExpanded(false);
    Connect();
    QTRY_VERIFY(!view_->OperationRunning());
    QCOMPARE(FileBytes(Desk("SITE03.dat")), points);
    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));
}

// The line goes down in a download: one message, the dialog ends, and the
// port is folded, so a copy pasted afterwards says that no instrument is
// connected instead of waiting on a dead line.
void DownloadFlowTest::lostLineEndsTheDownloadAndFoldsThePort() {
    cleanup();
    Start({"--hangup-after", "3"});
    // A copy made before, pasted after the line is gone.
    RightClickMenu(Node("VAL", "ValList:1", "Points:5"), QStringLiteral("Copy File"));
    view_->dataType = QStringLiteral("GSI");
    DragOnto(Node("JOB", "JobList:3 [IN:SITE03]", "FixPoints:12"), pc_->DesktopItem());

    QVERIFY(!view_->ProgressShown());
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY(view_->SavedPortName().isEmpty());
    QVERIFY(!view_->IsConnected());

    view_->messages.clear();
    CopyAndPaste(nullptr);
    QCOMPARE(view_->messages,
             QStringList{QString::fromStdU16String(std::u16string(DownloadPlan::kNotConnected))});
}

// Names from the instrument and typed names are file names: every download
// lands in the folder it was dropped on, whatever the entry is called.
void DownloadFlowTest::namesAreFileNamesInTheDropFolder() {
    cleanup();
    Start({"--data", PathLikeNames::Write("window-path-names").string()});
    QVERIFY(QDir().mkpath(Desk("a/b")));
    QTreeWidgetItem* a = DeskFolder(QStringLiteral("a"));
    QVERIFY(a != nullptr);
    pc_->expandItem(a);
    QTreeWidgetItem* chosen = Child(a, QStringLiteral("b"));
    QVERIFY(chosen != nullptr);
    QStringList expected;
    for (const PathLikeNames::Item& item : PathLikeNames::Items()) {
        const QString category = QString::fromStdString(item.category);
        const bool job = category == QLatin1String("JOB");
        view_->dataType = job || category == QLatin1String("COD") ? QStringLiteral("GSI") : "";
        QTreeWidgetItem* node = Node(category, QString::fromStdString(item.label),
                                     job ? QStringLiteral("FixPoints:1") : QString());
        QVERIFY2(node != nullptr, item.label.c_str());
        DragOnto(node, chosen);
        const QString file = Desk("a/b/" + QString::fromStdString(item.file));
        QCOMPARE(FileBytes(file), QByteArray::fromStdString(item.data));
        expected << file;
    }
    view_->typedNames = QStringList{"../../typed"};
    DragOnto(Node("VAL", "ValList:1"), chosen);
    expected << Desk("a/b/_.._.._typed");
    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join('\n')));

    QStringList written;
    for (QDirIterator it(Desk(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        written << it.next();
    }
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
}

#include "DownloadFlowTest.moc"
