// The instrument tree against the simulated instrument over a pseudo-terminal:
// connect, collapse, a second port, a port that cannot open, and erasing.

#include "MenuChoice.h"
#include "SimProcess.h"
#include "TreeChild.h"

#include "workbench/CDlgComSetting.h"
#include "workbench/CHeaderStrip.h"
#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CWaitDlg.h"
#include "workbench/FrameCommand.h"

#include "sharedwidgets/CFrameStatusBar.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// The demo instrument as the tree shows it under COM1, in tree order.
const QStringList kDemoTree = {
    QStringLiteral("COM1: X4  SERIES"),
    QStringLiteral("JOB|JobList:1 [IN:BRIDGE]|FixPoints:24|MeasurementPoints:36"),
    QStringLiteral("JOB|JobList:2 [IN:ROAD7]|FixPoints:48|MeasurementPoints:0"),
    QStringLiteral("JOB|JobList:3 [IN:SITE03]|FixPoints:12|MeasurementPoints:18"),
    QStringLiteral("JOB|JobList:4 []|FixPoints:0|MeasurementPoints:0"),
    QStringLiteral("COD|CodeBook:1|Name:TOPO"),
    QStringLiteral("COD|CodeBook:2|Name:UTILITY"),
    QStringLiteral("FOR|GSI,0,GSI-16 blocks"),
    QStringLiteral("FOR|IDEX,1,IDEX database"),
    QStringLiteral("FOR|ASCII,2,comma-separated points"),
    QStringLiteral("HAL|HalList:1|Points:6"),
    QStringLiteral("HAL|HalList:2|Points:4"),
    QStringLiteral("VAL|ValList:1|Points:5"),
    QStringLiteral("VAL|ValList:2|Points:3"),
};

// A port that opens as usual but whose sends fail while refuse is set.
class GatedPort : public TermiosSerialPro {
public:
    explicit GatedPort(const std::atomic<bool>& refuse) : refuse_(refuse) {}
    int OuterThreadSendMsg(const char* data, int count) override {
        return refuse_ ? 0 : TermiosSerialPro::OuterThreadSendMsg(data, count);
    }

private:
    const std::atomic<bool>& refuse_;
};

// A tree whose message boxes, dialogs and menus answer as the test says.
class ScriptedLeftView : public CLeftView {
public:
    ScriptedLeftView(QWidget* parent, const std::atomic<bool>& refuseSends,
                     PortList ports = PortList::System())
        : CLeftView(parent, std::move(ports),
                    [&refuseSends] { return std::make_unique<GatedPort>(refuseSends); }) {}

    QStringList messages;
    QString menuChoice;
    QString fileTypeChoice = QStringLiteral("COORDS");
    QStringList dialogCaptions;
    QStringList dialogFileNames;
    // Port settings: what each opening showed (baud rate, parity, stop and
    // data bits), and what the user picks in the next one (none: OK as shown).
    QStringList settingsShown;
    QStringList settingsToPick;
    int categoryChildrenAtErase = -1;

    using CLeftView::contextMenuEvent;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
    QAction* ExecMenu(QMenu& menu, QPoint /*global*/) override {
        return ActionNamed(menu, menuChoice);
    }
    int ExecDialog(QDialog& dialog) override {
        if (auto* settings = qobject_cast<CDlgComSetting*>(&dialog)) {
            return AnswerSettings(*settings);
        }
        auto* transfer = qobject_cast<CKSDeviceToPcDlg*>(&dialog);
        if (transfer == nullptr) {
            // The erase's progress, ended by the program.
            categoryChildrenAtErase = CategoryItem(EntryKind::Job)->childCount();
            return CLeftView::ExecDialog(dialog);
        }
        transfer->show();
        dialogCaptions << transfer->windowTitle();
        dialogFileNames << transfer->findChild<QLineEdit*>(QStringLiteral("edit1004"))->text();
        transfer->findChild<QComboBox*>(QStringLiteral("combo1008"))
            ->setCurrentText(fileTypeChoice);
        transfer->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return transfer->result();
    }

private:
    int AnswerSettings(CDlgComSetting& dialog) {
        dialog.show();
        const char* boxes[] = {"baudBox", "parityBox", "stopBitsBox", "dataBitsBox"};
        QStringList shown;
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            auto* box = dialog.findChild<QComboBox*>(boxes[i]);
            shown << box->currentText();
            if (!settingsToPick.isEmpty()) {
                box->setCurrentText(settingsToPick[static_cast<qsizetype>(i)]);
            }
        }
        settingsShown << shown.join(QLatin1Char('|'));
        settingsToPick.clear();
        dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return dialog.result();
    }
};

// A pseudo-terminal on which nothing answers.
struct SilentLine {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string device = ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : "";
    ~SilentLine() { ::close(master); }
};

} // namespace

class LeftViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void expandingComOneShowsTheDemoInstrument();
    void collapsingDisconnectsAndKeepsTheMaps();
    void secondPortIsRefusedAndItsCollapseLeavesTheFirstAlone();
    void portThatCannotOpenSaysWhyAndStaysCollapsed();
    void connectThatCannotStartFoldsThePort_data();
    void connectThatCannotStartFoldsThePort();
    void portSetRightAfterAnUnpolledConnectEndAppliesAtOnce();
    void erasingFromTheFixPointsMenuRelistsTheJobs();
    void erasingThroughTheFramesDeleteCommand();
    void deleteRefusals();
    void portSettingsReopenWithTheStoredValues();
    void portsFollowTheSystemAndOpenTheDeviceShown();

private:
    QTreeWidgetItem* Port(const QString& name) const { return Child(view_->RootItem(), name); }
    QTreeWidgetItem* ConnectComOne();
    QStringList PortTexts() const;
    QStringList TreeUnder(QTreeWidgetItem* port) const;
    QStringList JobLabels() const;
    void RightClick(QTreeWidgetItem* item);

    std::atomic<bool> refuseSends_{false};
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<CMainFrame> frame_;
    ScriptedLeftView* view_ = nullptr;
};

void LeftViewTest::init() {
    refuseSends_ = false;
    sim_ = std::make_unique<SimProcess>();
    QVERIFY(!sim_->Device().empty());
    const std::string ports = "COM1=" + sim_->Device() + ";COM3=/nonexistent/x4-port";
    ::setenv(ComPortMap::kEnvironmentVariable, ports.c_str(), 1);
    PaneFactories panes;
    panes.instrumentTree = [this](QWidget* parent) {
        return view_ = new ScriptedLeftView(parent, refuseSends_);
    };
    frame_ = std::make_unique<CMainFrame>(panes);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    frame_->resize(1000, 700);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
}

void LeftViewTest::cleanup() {
    frame_.reset();
    sim_.reset();
}

QTreeWidgetItem* LeftViewTest::ConnectComOne() {
    QTreeWidgetItem* port = Port(QStringLiteral("COM1"));
    if (port == nullptr) {
        return nullptr;
    }
    port->setExpanded(true);
    if (!QTest::qWaitFor([this] { return view_->WaitDialog() == nullptr; }, 20000)) {
        return nullptr;
    }
    return port;
}

QStringList LeftViewTest::PortTexts() const {
    QStringList texts;
    for (int i = 0; i < view_->RootItem()->childCount(); ++i) {
        texts << view_->RootItem()->child(i)->text(0);
    }
    return texts;
}

QStringList LeftViewTest::TreeUnder(QTreeWidgetItem* port) const {
    QStringList lines{port->text(0)};
    for (int c = 0; c < port->childCount(); ++c) {
        QTreeWidgetItem* category = port->child(c);
        for (int e = 0; e < category->childCount(); ++e) {
            QStringList parts{category->text(0), category->child(e)->text(0)};
            for (int d = 0; d < category->child(e)->childCount(); ++d) {
                parts << category->child(e)->child(d)->text(0);
            }
            lines << parts.join(QLatin1Char('|'));
        }
    }
    return lines;
}

QStringList LeftViewTest::JobLabels() const {
    QStringList labels;
    QTreeWidgetItem* jobs = view_->CategoryItem(EntryKind::Job);
    for (int i = 0; jobs != nullptr && i < jobs->childCount(); ++i) {
        labels << jobs->child(i)->text(0);
    }
    return labels;
}

void LeftViewTest::RightClick(QTreeWidgetItem* item) {
    view_->scrollToItem(item);
    const QPoint pos = view_->visualItemRect(item).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view_->viewport()->mapToGlobal(pos));
    view_->contextMenuEvent(&event);
}

void LeftViewTest::expandingComOneShowsTheDemoInstrument() {
    QTreeWidgetItem* port = Port(QStringLiteral("COM1"));
    QVERIFY(port != nullptr);
    QCOMPARE(view_->RootItem()->text(0), QStringLiteral("X4 SERIES"));
    QVERIFY(port->toolTip(0).contains(QString::fromStdString(sim_->Device())));
    port->setExpanded(true);
    // At once: the wait dialog and the five empty folders.
    QVERIFY(view_->WaitDialog() != nullptr && view_->WaitDialog()->isVisible());
    QCOMPARE(TreeUnder(port), QStringList{QStringLiteral("COM1")});
    QCOMPARE(port->childCount(), 5);
    QCOMPARE(port->child(2)->text(0), QStringLiteral("FOR"));
    // "INICOMD" closes the wait dialog once every list has come.
    QTRY_VERIFY_WITH_TIMEOUT(view_->WaitDialog() == nullptr, 20000);
    QCOMPARE(TreeUnder(port), kDemoTree);
    QCOMPARE(view_->Model().FormatList().size(), std::size_t{3});
    QCOMPARE(view_->StoredLine(
                 Child(Child(view_->CategoryItem(EntryKind::Hal), QStringLiteral("HalList:2")),
                       QStringLiteral("Points:4"))),
             QStringLiteral("RAMPA,2,4\r\n"));
    QVERIFY(view_->messages.isEmpty());
}

void LeftViewTest::collapsingDisconnectsAndKeepsTheMaps() {
    QTreeWidgetItem* port = ConnectComOne();
    QVERIFY(port != nullptr);
    port->setExpanded(false);
    QCOMPARE(port->text(0), QStringLiteral("COM1"));
    QCOMPARE(port->childCount(), 1);
    QCOMPARE(port->child(0)->text(0), QString());
    QVERIFY(view_->Model().FormatList().empty());
    QVERIFY(!view_->IsConnected());
    QVERIFY(view_->SavedPortName().isEmpty());
    QCOMPARE(view_->Model().MapOf(EntryKind::Job)->size(), std::size_t{4});
    // And it connects again.
    QVERIFY(ConnectComOne() != nullptr);
    QCOMPARE(TreeUnder(port), kDemoTree);
}

void LeftViewTest::secondPortIsRefusedAndItsCollapseLeavesTheFirstAlone() {
    QTreeWidgetItem* first = ConnectComOne();
    QVERIFY(first != nullptr);
    QTreeWidgetItem* second = Port(QStringLiteral("COM3"));
    second->setExpanded(true);
    QCOMPARE(view_->messages, QStringList{QStringLiteral("Another Port had opened")});
    second->setExpanded(false);
    QVERIFY(view_->IsConnected());
    QCOMPARE(second->text(0), QStringLiteral("COM3"));
    QCOMPARE(TreeUnder(first), kDemoTree);
    QCOMPARE(view_->SavedPortName(), QStringLiteral("COM1"));
}

void LeftViewTest::portThatCannotOpenSaysWhyAndStaysCollapsed() {
    QTreeWidgetItem* port = Port(QStringLiteral("COM3"));
    port->setExpanded(true);
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY2(view_->messages[0].contains(QStringLiteral("/nonexistent/x4-port")),
             qPrintable(view_->messages[0]));
    QVERIFY(!port->isExpanded());
    QCOMPARE(port->childCount(), 1);
    QVERIFY(view_->SavedPortName().isEmpty());
    QVERIFY(view_->WaitDialog() == nullptr);
    // Nothing stays blocked: the instrument on COM1 connects.
    QVERIFY(ConnectComOne() != nullptr);
}

void LeftViewTest::connectThatCannotStartFoldsThePort_data() {
    QTest::addColumn<bool>("fromPortSet");
    QTest::newRow("expanding the port") << false;
    QTest::newRow("Port Set on the connected port") << true;
}

// The port opens but the connect's first command cannot be sent: the user
// hears why once, and the port is let go as a collapse lets it go. A "Port
// Set" check must not wait for the next connect either.
void LeftViewTest::connectThatCannotStartFoldsThePort() {
    QFETCH(bool, fromPortSet);
    QTreeWidgetItem* port = Port(QStringLiteral("COM1"));
    if (fromPortSet) {
        QVERIFY(ConnectComOne() != nullptr);
        refuseSends_ = true;
        view_->menuChoice = QStringLiteral("Port Set");
        RightClick(port);
    } else {
        refuseSends_ = true;
        port->setExpanded(true);
    }
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY(view_->WaitDialog() == nullptr);
    QVERIFY(!port->isExpanded());
    QCOMPARE(port->childCount(), 1);
    QCOMPARE(port->text(0), QStringLiteral("COM1"));
    QVERIFY(!view_->IsConnected());
    QVERIFY(view_->SavedPortName().isEmpty());

    refuseSends_ = false;
    QVERIFY(ConnectComOne() != nullptr);
    QCOMPARE(frame_->StatusBar()->currentMessage(), QStringLiteral("COM1: connected"));
    QCOMPARE(view_->messages.size(), 1);
}

// The connect has ended but the window's timer has not polled it yet:
// "Port Set" applies the settings at once instead of saying a transfer runs.
void LeftViewTest::portSetRightAfterAnUnpolledConnectEndAppliesAtOnce() {
    QTreeWidgetItem* port = Port(QStringLiteral("COM1"));
    port->setExpanded(true);
    QVERIFY(view_->Session().Wait());
    QVERIFY(view_->OperationRunning());
    view_->menuChoice = QStringLiteral("Port Set");
    RightClick(port);
    QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join(QLatin1Char('\n'))));
    QTRY_COMPARE_WITH_TIMEOUT(frame_->StatusBar()->currentMessage(),
                              QStringLiteral("COM1: the instrument answered at 19200 baud"), 20000);
}

void LeftViewTest::erasingFromTheFixPointsMenuRelistsTheJobs() {
    QVERIFY(ConnectComOne() != nullptr);
    QTreeWidgetItem* job =
        Child(view_->CategoryItem(EntryKind::Job), QStringLiteral("JobList:2 [IN:ROAD7]"));
    QTreeWidgetItem* fix = Child(job, QStringLiteral("FixPoints:48"));
    QVERIFY(fix != nullptr);
    view_->menuChoice = QStringLiteral("Delete File");
    RightClick(fix);
    QCOMPARE(view_->dialogCaptions, QStringList{QStringLiteral("DELETE JOB FILE")});
    QCOMPARE(view_->dialogFileNames, QStringList{QStringLiteral("IN:ROAD7")});
    // The category is empty before the instrument answers.
    QCOMPARE(view_->categoryChildrenAtErase, 0);
    QVERIFY(view_->LastClickedItem() == nullptr);
    // Job 2 had only fixed points: it leaves the instrument's list.
    QTRY_COMPARE_WITH_TIMEOUT(
        JobLabels(),
        (QStringList{QStringLiteral("JobList:1 [IN:BRIDGE]"),
                     QStringLiteral("JobList:3 [IN:SITE03]"), QStringLiteral("JobList:4 []")}),
        20000);
    QVERIFY(view_->messages.isEmpty());
}

void LeftViewTest::erasingThroughTheFramesDeleteCommand() {
    QVERIFY(ConnectComOne() != nullptr);
    QTreeWidgetItem* job =
        Child(view_->CategoryItem(EntryKind::Job), QStringLiteral("JobList:3 [IN:SITE03]"));
    view_->scrollToItem(job);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualItemRect(job).center());
    QCOMPARE(view_->LastClickedItem(), job);
    QCOMPARE(frame_->HeaderStrip(0)->PathLabel(),
             QStringLiteral("\\COM1: X4  SERIES\\JOB\\JobList:3 [IN:SITE03]"));
    frame_->OnCommand(ID_DELETE_FILE);
    QCOMPARE(view_->dialogCaptions, QStringList{QStringLiteral("DELETE JOB FILE")});
    QCOMPARE(view_->categoryChildrenAtErase, 0);
    // The coordinates are gone; the job stays with its measurements.
    QTRY_COMPARE_WITH_TIMEOUT(JobLabels().size(), 4, 20000);
    QTreeWidgetItem* site =
        Child(view_->CategoryItem(EntryKind::Job), QStringLiteral("JobList:3 [IN:SITE03]"));
    QVERIFY(Child(site, QStringLiteral("FixPoints:0")) != nullptr);
    QVERIFY(Child(site, QStringLiteral("MeasurementPoints:18")) != nullptr);
}

void LeftViewTest::deleteRefusals() {
    QVERIFY(ConnectComOne() != nullptr);
    // Below an entry: "Del error"; a format: nothing at all.
    view_->SendUserMessage(UM_DELETE_FILE, 0, ToLParam(view_->CategoryItem(EntryKind::Job)));
    view_->SendUserMessage(UM_DELETE_FILE, 0,
                           ToLParam(view_->CategoryItem(EntryKind::Format)->child(0)));
    QCOMPARE(view_->messages, QStringList{QStringLiteral("Del error")});
    QVERIFY(view_->dialogCaptions.isEmpty());
    // Nothing to erase: the category stays as it was and nothing is sent.
    QTreeWidgetItem* road =
        Child(view_->CategoryItem(EntryKind::Job), QStringLiteral("JobList:2 [IN:ROAD7]"));
    view_->fileTypeChoice = QStringLiteral("OBSERV");
    view_->SendUserMessage(UM_DELETE_FILE, 0, ToLParam(road));
    // The dialog's OK does not take the empty part: nothing is sent.
    QCOMPARE(view_->messages, QStringList{QStringLiteral("Del error")});
    QCOMPARE(JobLabels().size(), 4);
    QTreeWidgetItem* cod = view_->CategoryItem(EntryKind::Code)->child(0);
    view_->SendUserMessage(UM_DELETE_FILE, 0, ToLParam(cod));
    QCOMPARE(view_->dialogCaptions.last(), QStringLiteral("DELETE COD FILE"));
    QCOMPARE(view_->dialogFileNames.last(), QStringLiteral("TOPO"));
    QTRY_COMPARE_WITH_TIMEOUT(view_->CategoryItem(EntryKind::Code)->childCount(), 1, 20000);
    QCOMPARE(view_->CategoryItem(EntryKind::Code)->child(0)->text(0), QStringLiteral("CodeBook:2"));
}

// A configured port's dialog shows what the port holds, so OK keeps it; a
// port never configured shows the fixed selections.
void LeftViewTest::portSettingsReopenWithTheStoredValues() {
    view_->menuChoice = QStringLiteral("Port Set");
    view_->settingsToPick = QStringList{"9600", "EVEN", "0", "7"};
    RightClick(Port(QStringLiteral("COM1")));
    RightClick(Port(QStringLiteral("COM1")));
    RightClick(Port(QStringLiteral("COM3")));
    QCOMPARE(view_->settingsShown,
             (QStringList{"19200|NONE|1|8", "9600|EVEN|0|7", "19200|NONE|1|8"}));
    const PortSettings& kept = view_->Ports().Find(u"COM1")->settings;
    QCOMPARE(kept.baudRate, std::u16string(u"9600"));
    QCOMPARE(kept.parity, std::u16string(u"2"));
    QCOMPARE(kept.stopBits, std::u16string(u"0"));
    QCOMPARE(kept.dataBits, std::u16string(u"7"));
}

// Ports follow the system while the program runs, and a port opens the
// device its node shows, even where a fresh look-up of its name would now
// give another device.
void LeftViewTest::portsFollowTheSystemAndOpenTheDeviceShown() {
    cleanup();
    QTemporaryDir system;
    const QString sys = system.filePath(QStringLiteral("sys"));
    const QString dev = system.filePath(QStringLiteral("dev"));
    QVERIFY(QDir().mkpath(sys + "/ttyACM0") && QDir().mkpath(dev));
    sim_ = std::make_unique<SimProcess>();
    QVERIFY(QFile::link(QString::fromStdString(sim_->Device()), dev + "/ttyACM0"));
    const SerialDevicePlaces places{sys.toStdString(), dev.toStdString(),
                                    system.filePath(QStringLiteral("by-id")).toStdString()};
    const SilentLine silent;
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + silent.device).c_str(), 1);
    PaneFactories panes;
    panes.instrumentTree = [this, places](QWidget* parent) {
        return view_ = new ScriptedLeftView(
                   parent, refuseSends_,
                   PortList::FromSource([places] { return ComPortMap::FromSysfs(places).Ports(); },
                                        {places.devDir}));
    };
    frame_ = std::make_unique<CMainFrame>(panes);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    QCOMPARE(PortTexts(), QStringList{"COM1"});

    // An adapter is plugged in; a fresh numbering would put it first.
    QVERIFY(QDir().mkpath(sys + "/ttyUSB0"));
    QVERIFY(QFile::link(QString::fromStdString(silent.device), dev + "/ttyUSB0"));
    QTRY_COMPARE(PortTexts(), (QStringList{"COM1", "COM2"}));
    QVERIFY(Port(QStringLiteral("COM1"))->toolTip(0).startsWith(dev + "/ttyACM0 - "));
    QVERIFY(Port(QStringLiteral("COM2"))->toolTip(0).startsWith(dev + "/ttyUSB0 - "));
    QVERIFY(ConnectComOne() != nullptr);
    QCOMPARE(PortTexts(), (QStringList{"COM1: X4  SERIES", "COM2"}));

    // It is unplugged again: its node goes, the connection stays.
    QVERIFY(QFile::remove(dev + "/ttyUSB0") && QDir(sys + "/ttyUSB0").removeRecursively());
    QTRY_COMPARE(PortTexts(), QStringList{"COM1: X4  SERIES"});
    QVERIFY(view_->IsConnected());
    QVERIFY(view_->messages.isEmpty());
}

QTEST_MAIN(LeftViewTest)
#include "LeftViewTest.moc"
