// Mouse events go through the window, as the window system delivers them.
#define QTEST_QPA_MOUSE_HANDLING

#include "SimDesk.h"

#include "TreeChild.h"

#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A demo data file as the instrument sends it: every line ends in CR LF.
QByteArray SentLines(const QString& relative) {
    QByteArray bytes = FileBytes(QStringLiteral(X4SIM_DEMO_DIR "/data/") + relative);
    bytes.replace("\r\n", "\n");
    return bytes.replace("\n", "\r\n");
}

// GSI point blocks of a stake-out file, one per line.
QByteArray StakeOut(int points) {
    QByteArray lines;
    for (int i = 1; i <= points; ++i) {
        lines += "*11" + QByteArray::number(1000 + i).mid(1) + "+0000000000000P" +
                 QByteArray::number(i) + " 81..00+0000000000001000 \r\n";
    }
    return lines;
}

QString Text(QWidget* dialog, const char* name) {
    if (auto* label = dialog->findChild<QLabel*>(QLatin1String(name))) {
        return label->text();
    }
    if (auto* combo = dialog->findChild<QComboBox*>(QLatin1String(name))) {
        return combo->currentText();
    }
    auto* edit = dialog->findChild<QLineEdit*>(QLatin1String(name));
    return edit != nullptr ? edit->text() : QString();
}

namespace {

// The frame whose "Traffic Log" switch is given a file as the user would
// choose it in the file dialog.
class LoggingFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    QString logPath;

protected:
    QString AskTrafficLogPath() override { return logPath; }
};

} // namespace

QTreeWidgetItem* SimDesk::PortItem() const {
    return view_->RootItem()->child(0);
}

void SimDesk::Start(const std::vector<std::string>& simOptions, const QString& trafficLog) {
    Stop();
    QVERIFY(QDir().mkpath(Desk()));
    sim_ = std::make_unique<SimProcess>(simOptions);
    QVERIFY(!sim_->Device().empty());
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim_->Device()).c_str(), 1);
    hand_ = std::make_unique<UserHand>();
    PaneFactories panes;
    panes.instrumentTree = [this](QWidget* parent) {
        return view_ = new CLeftView(parent, PortList::System(),
                                     [] { return std::make_unique<TermiosSerialPro>(); });
    };
    const PcPlaces places{Desk(), [] { return std::vector<std::string>{}; }};
    panes.pcTree = [this, places](QWidget* parent) { return pc_ = new CRightView(parent, places); };
    auto frame = std::make_unique<LoggingFrame>(panes);
    frame->logPath = trafficLog;
    frame_ = std::move(frame);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    frame_->resize(780, 580);
    frame_->move(0, 0);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    if (!trafficLog.isEmpty()) {
        frame_->findChild<QAction*>(QStringLiteral("actionTrafficLog"))->trigger();
    }
    if (silenceLimit_.count() > 0) {
        view_->SetSilenceLimit(silenceLimit_);
    }
    PressKeyOn(view_, PortItem(), Qt::Key_Right);
    QTRY_VERIFY_WITH_TIMEOUT(view_->WaitDialog() == nullptr && !view_->OperationRunning(), 20000);
    PressKeyOn(pc_, pc_->DesktopItem(), Qt::Key_Right);
}

void SimDesk::Stop() {
    frame_.reset();
    hand_.reset();
    sim_.reset();
    QDir(Desk()).removeRecursively();
}

QTreeWidgetItem* SimDesk::Node(EntryKind kind, const QString& entry, const QString& detail) const {
    QTreeWidgetItem* node = Child(view_->CategoryItem(kind), entry);
    return detail.isEmpty() ? node : Child(node, detail);
}

QStringList SimDesk::Details(EntryKind kind, const QString& entry) const {
    QStringList details;
    if (const QTreeWidgetItem* node = Node(kind, entry)) {
        for (int i = 0; i < node->childCount(); ++i) {
            details << node->child(i)->text(0);
        }
    }
    return details;
}

void SimDesk::RightClick(QTreeWidgetItem* item) {
    view_->scrollToItem(item);
    QTest::mouseClick(view_->viewport(), Qt::RightButton, {}, view_->visualItemRect(item).center());
}

void SimDesk::PressKeyOn(QTreeWidget* tree, QTreeWidgetItem* item, Qt::Key key) {
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    QTest::keyClick(tree, key);
}

QAbstractButton* SimDesk::CommandButton(int command) const {
    for (QAbstractButton* button : frame_->findChildren<QAbstractButton*>()) {
        if (button->property("commandId").toInt() == command) {
            return button;
        }
    }
    return nullptr;
}

// The operation, its dialogs and the hand's steps have all ended.
void SimDesk::WaitForTheEnd() {
    QTRY_VERIFY_WITH_TIMEOUT(!view_->OperationRunning() && hand_->Pending() == 0, 60000);
}
