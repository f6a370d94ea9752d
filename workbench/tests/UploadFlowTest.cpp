// Uploads through the window against the simulated instrument over a
// pseudo-terminal: a PC file dragged with the mouse from the PC tree onto an
// entry of the instrument tree, and files dropped from the desktop.

// Mouse events go through the window, as the window system delivers them, so
// the dragging tree's mouse capture decides who gets them.
#define QTEST_QPA_MOUSE_HANDLING

#include "DialogGuard.h"
#include "SimProcess.h"
#include "TreeChild.h"
#include "TreeDrag.h"

#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CLeftView.h"
#include "workbench/CMainFrame.h"
#include "workbench/CRightView.h"
#include "workbench/CWaitDlg.h"

#include "platform/ComPortMap.h"
#include "platform/TermiosSerialPro.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

// An instrument tree whose message boxes are recorded and whose transfer
// dialog is confirmed with a given file name; the progress dialog runs.
class ScriptedUploadView : public CLeftView {
public:
    explicit ScriptedUploadView(QWidget* parent)
        : CLeftView(parent, PortList::System(),
                    [] { return std::make_unique<TermiosSerialPro>(); }) {}

    QStringList messages;
    QString typedName; // empty: keep the offered name
    QStringList offeredNames;
    QList<int> modes;
    QList<int> progressTotals;
    int progressEndPosition = -1;
    QStringList questions; // answered "Yes"

protected:
    void ShowMessage(const QString& text) override { messages << text; }
    int ExecDialog(QDialog& dialog) override {
        if (auto* transfer = qobject_cast<CKSDeviceToPcDlg*>(&dialog)) {
            transfer->show();
            modes << transfer->dialogMode;
            auto* edit = transfer->findChild<QLineEdit*>(QStringLiteral("edit1004"));
            offeredNames << edit->text();
            if (!typedName.isEmpty()) {
                edit->setText(typedName);
            }
            transfer->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            return transfer->result();
        }
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            questions << box->text();
            QTimer::singleShot(0, box->button(QMessageBox::Yes), &QAbstractButton::click);
            return box->exec();
        }
        progressTotals << ProgressDialog().total;
        const DialogGuard guard(dialog);
        const int result = CLeftView::ExecDialog(dialog);
        progressEndPosition =
            ProgressDialog().findChild<QProgressBar*>(QStringLiteral("progress1038"))->value();
        return result;
    }
};

// Every byte from 0x80 to 0xFF, split over lines of 32.
QByteArray HighBytes(const QByteArray& lineEnd) {
    QByteArray all;
    for (int line = 0; line < 4; ++line) {
        for (int b = 0; b < 32; ++b) {
            all += static_cast<char>(0x80 + line * 32 + b);
        }
        all += lineEnd;
    }
    return all;
}

} // namespace

class UploadFlowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void draggedFilesReachEveryCategoryByteForByte();
    void lineEndsOfEveryKindAndTheLastLineWithoutOne();
    void emptyFolderAndUnreadableFiles();
    void overlongLineIsRefusedBeforeAnythingIsSent();
    void dropsOnHigherNodesAndClosedPortsSendNothing();
    void filesDroppedFromTheDesktopAreUploaded();
    void lostLineEndsTheUploadAndFoldsThePort();

private:
    void Start(std::vector<std::string> simOptions);
    QString PcFile(const QString& name, const QByteArray& bytes);
    QTreeWidgetItem* PcItem(const QString& name);
    QTreeWidgetItem* Entry(EntryKind kind, const QString& label) const;
    void DragOnto(QTreeWidgetItem* pcItem, QTreeWidgetItem* target);
    void DropFromDesktop(const QStringList& paths, QTreeWidgetItem* target);
    QStringList CategoryTree(EntryKind kind) const;
    QStringList SettledCategoryTree(EntryKind kind) const;
    QByteArray Received(int n, const char* category) const;
    int ReceivedCount() const;
    bool Reconnect();

    QTemporaryDir temp_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<CMainFrame> frame_;
    ScriptedUploadView* view_ = nullptr;
    CRightView* pc_ = nullptr;
};

void UploadFlowTest::initTestCase() {
    QVERIFY(temp_.isValid());
}

void UploadFlowTest::init() {
    Start({});
}

void UploadFlowTest::Start(std::vector<std::string> simOptions) {
    QDir root(temp_.path());
    QVERIFY(root.mkpath(QStringLiteral("vol")) && root.mkpath(QStringLiteral("received")) &&
            root.mkpath(QStringLiteral("desk")));
    simOptions.insert(
        simOptions.end(),
        {"--received",
         QFile::encodeName(temp_.filePath(QStringLiteral("received"))).toStdString()});
    sim_ = std::make_unique<SimProcess>(simOptions);
    QVERIFY(!sim_->Device().empty());
    ::setenv(ComPortMap::kEnvironmentVariable, ("COM1=" + sim_->Device()).c_str(), 1);
    PaneFactories panes;
    panes.instrumentTree = [this](QWidget* parent) {
        return view_ = new ScriptedUploadView(parent);
    };
    const std::string volume =
        QFile::encodeName(temp_.filePath(QStringLiteral("vol"))).toStdString();
    const PcPlaces places{temp_.filePath(QStringLiteral("desk")),
                          [volume] { return std::vector<std::string>{volume}; }};
    panes.pcTree = [this, places](QWidget* parent) { return pc_ = new CRightView(parent, places); };
    frame_ = std::make_unique<CMainFrame>(panes);
    QVERIFY(frame_->Create());
    frame_->InitialUpdate();
    frame_->resize(1100, 800);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QVERIFY(view_->ExpandPort(QStringLiteral("COM1")));
    QTRY_VERIFY_WITH_TIMEOUT(view_->WaitDialog() == nullptr, 20000);
    QVERIFY(view_->CategoryItem(EntryKind::Val)->childCount() > 0);
}

void UploadFlowTest::cleanup() {
    frame_.reset();
    sim_.reset();
    for (const char* folder : {"vol", "received", "desk"}) {
        QDir(temp_.filePath(QString::fromLatin1(folder))).removeRecursively();
    }
}

QString UploadFlowTest::PcFile(const QString& name, const QByteArray& bytes) {
    const QString path = temp_.filePath(QStringLiteral("vol/") + name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}

QTreeWidgetItem* UploadFlowTest::PcItem(const QString& name) {
    QTreeWidgetItem* volume = pc_->MyComputerItem()->child(0);
    pc_->ListFolder(volume);
    pc_->expandItem(volume);
    return Child(volume, name);
}

QTreeWidgetItem* UploadFlowTest::Entry(EntryKind kind, const QString& label) const {
    return Child(view_->CategoryItem(kind), label);
}

// The user's gesture: press on the PC file, move past the drag distance,
// move over the instrument node and release there.
void UploadFlowTest::DragOnto(QTreeWidgetItem* pcItem, QTreeWidgetItem* target) {
    DragBetweenTrees(pc_, pcItem, view_, target);
}

QStringList UploadFlowTest::CategoryTree(EntryKind kind) const {
    QStringList lines;
    QTreeWidgetItem* category = view_->CategoryItem(kind);
    for (int e = 0; category != nullptr && e < category->childCount(); ++e) {
        QStringList parts{category->child(e)->text(0)};
        for (int d = 0; d < category->child(e)->childCount(); ++d) {
            parts << category->child(e)->child(d)->text(0);
        }
        lines << parts.join(QLatin1Char('|'));
    }
    return lines;
}

// The category once no more lines come.
QStringList UploadFlowTest::SettledCategoryTree(EntryKind kind) const {
    QStringList last = CategoryTree(kind);
    for (int i = 0; i < 50; ++i) {
        QTest::qWait(150);
        const QStringList now = CategoryTree(kind);
        if (now == last) {
            break;
        }
        last = now;
    }
    return last;
}

QByteArray UploadFlowTest::Received(int n, const char* category) const {
    QFile file(temp_.filePath(QStringLiteral("received/%1-%2.txt").arg(n).arg(category)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

int UploadFlowTest::ReceivedCount() const {
    return static_cast<int>(
        QDir(temp_.filePath(QStringLiteral("received"))).entryList(QDir::Files).size());
}

// Lists the instrument afresh: collapse (disconnect) and expand again.
bool UploadFlowTest::Reconnect() {
    view_->RootItem()->child(0)->setExpanded(false);
    view_->RootItem()->child(0)->setExpanded(true);
    return QTest::qWaitFor([this] { return view_->WaitDialog() == nullptr; }, 20000);
}

void UploadFlowTest::draggedFilesReachEveryCategoryByteForByte() {
    struct Case {
        EntryKind kind;
        const char* category;
        QString label;
        QByteArray bytes;
        int lines;
        int mode;
    };
    const QByteArray gsi = "110001+0000000000000P01 81..10+0000000000100000 \r\n"
                           "110002+0000000000000P02 81..10+0000000000200000 \r\n";
    const QList<Case> cases = {
        {EntryKind::Job, "JOB", QStringLiteral("JobList:3 [IN:SITE03]"), gsi + HighBytes("\r\n"), 6,
         8},
        {EntryKind::Code, "COD", QStringLiteral("CodeBook:2"), HighBytes("\r\n"), 4, 10},
        {EntryKind::Hal, "HAL", QStringLiteral("HalList:1"), "A,1\r\n\r\nB,2\r\n", 3, 11},
        {EntryKind::Val, "VAL", QStringLiteral("ValList:2"), HighBytes("\r\n") + "\r\n", 5, 12},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("up%1.txt").arg(n);
        PcFile(name, c.bytes);
        QTreeWidgetItem* target = Entry(c.kind, c.label);
        QVERIFY2(target != nullptr, qPrintable(c.label));
        DragOnto(PcItem(name), c.kind == EntryKind::Job ? target->child(1) : target);
        ++n;
        QVERIFY2(view_->messages.isEmpty(), qPrintable(view_->messages.join(';')));
        QCOMPARE(view_->modes.back(), c.mode);
        QCOMPARE(view_->progressTotals.back(), c.lines);
        QCOMPARE(view_->progressEndPosition, c.lines);
        QVERIFY(!view_->ProgressShown());
        QCOMPARE(Received(n, c.category), c.bytes);
        const QStringList shown = SettledCategoryTree(c.kind);
        QVERIFY(!shown.isEmpty());
        QVERIFY(Reconnect());
        QCOMPARE(shown, CategoryTree(c.kind));
    }
    QCOMPARE(view_->offeredNames,
             (QStringList{QStringLiteral("IN:SITE03"), QStringLiteral("UTILITY"),
                          QStringLiteral("MAINST"), QStringLiteral("RAMPA")}));

    // A job without a name on the instrument is offered the PC file's name
    // and takes the confirmed one.
    PcFile(QStringLiteral("new.gsi"), gsi);
    view_->typedName = QStringLiteral("NEWJOB");
    DragOnto(PcItem(QStringLiteral("new.gsi")),
             Entry(EntryKind::Job, QStringLiteral("JobList:4 []")));
    QCOMPARE(view_->offeredNames.back(), QStringLiteral("new"));
    QCOMPARE(Received(++n, "JOB"), gsi);
    const QStringList jobs = SettledCategoryTree(EntryKind::Job);
    QVERIFY2(jobs.filter(QStringLiteral("[NEWJOB]")).size() == 1, qPrintable(jobs.join(';')));
}

void UploadFlowTest::lineEndsOfEveryKindAndTheLastLineWithoutOne() {
    const QList<QPair<QByteArray, QByteArray>> files = {
        {"A\r\nB\r\n", "A\r\nB\r\n"},
        {"A\nB\n", "A\r\nB\r\n"},
        {"A\n\nB", "A\r\n\r\nB\r\n"},
        {"A\rX\r\n", "A\rX\r\n"}, // a CR inside a line is data
    };
    int n = 0;
    for (const auto& [bytes, wire] : files) {
        const QString name = QStringLiteral("ends%1.txt").arg(n);
        PcFile(name, bytes);
        DragOnto(PcItem(name), Entry(EntryKind::Code, QStringLiteral("CodeBook:1")));
        ++n;
        QCOMPARE(Received(n, "COD"), wire);
        QCOMPARE(view_->progressTotals.back(), static_cast<int>(wire.count("\r\n")));
    }
    QVERIFY(view_->messages.isEmpty());
}

void UploadFlowTest::emptyFolderAndUnreadableFiles() {
    QTreeWidgetItem* code = Entry(EntryKind::Code, QStringLiteral("CodeBook:1"));
    const QPersistentModelIndex before(view_->indexFromItem(code));
    PcFile(QStringLiteral("empty.txt"), {});
    DragOnto(PcItem(QStringLiteral("empty.txt")), code);
    QCOMPARE(view_->messages, QStringList{QStringLiteral("File size Null")});
    QVERIFY(view_->progressTotals.isEmpty());
    // The script ran all the same: the instrument got an upload of nothing
    // and listed the codes again.
    QTRY_VERIFY_WITH_TIMEOUT(!before.isValid(), 10000);
    QCOMPARE(ReceivedCount(), 1);
    QCOMPARE(Received(1, "COD"), QByteArray());

    view_->messages.clear();
    QVERIFY(QDir(temp_.filePath(QStringLiteral("vol"))).mkdir(QStringLiteral("folder")));
    // A named pipe stands for a file that cannot be read, whatever the rights.
    const QByteArray pipe = QFile::encodeName(temp_.filePath(QStringLiteral("vol/pipe.txt")));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    const QString locked = PcFile(QStringLiteral("locked.txt"), "A\r\n");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    QStringList names{QStringLiteral("folder"), QStringLiteral("pipe.txt")};
    if (!QFile(locked).open(QIODevice::ReadOnly)) {
        names << QStringLiteral("locked.txt"); // not with rights that read any file
    }
    QStringList expected;
    for (const QString& name : names) {
        DragOnto(PcItem(name), Entry(EntryKind::Code, QStringLiteral("CodeBook:1")));
        expected << QStringLiteral("Pc File Open Error!") << QStringLiteral("Translated Fail");
    }
    QCOMPARE(view_->messages, expected);
    QCOMPARE(view_->modes.size(), names.size() + 1);
    QCOMPARE(ReceivedCount(), 1);
}

void UploadFlowTest::overlongLineIsRefusedBeforeAnythingIsSent() {
    PcFile(QStringLiteral("long.txt"),
           "short\r\n" + QByteArray(510, 'x') + "\r\n" + QByteArray(511, 'y') + "\r\n");
    DragOnto(PcItem(QStringLiteral("long.txt")),
             Entry(EntryKind::Hal, QStringLiteral("HalList:1")));
    QCOMPARE(view_->messages.size(), 2);
    QVERIFY2(view_->messages[0].startsWith(QStringLiteral("Line 3 of ")),
             qPrintable(view_->messages[0]));
    QCOMPARE(view_->messages[1], QStringLiteral("Translated Fail"));
    QVERIFY(view_->progressTotals.isEmpty());
    QTest::qWait(300);
    QCOMPARE(ReceivedCount(), 0);
}

void UploadFlowTest::dropsOnHigherNodesAndClosedPortsSendNothing() {
    PcFile(QStringLiteral("a.txt"), "A\r\n");
    for (QTreeWidgetItem* node :
         {view_->CategoryItem(EntryKind::Job), view_->RootItem()->child(0), view_->RootItem()}) {
        DragOnto(PcItem(QStringLiteral("a.txt")), node);
    }
    // Formats take no uploads.
    DragOnto(PcItem(QStringLiteral("a.txt")), view_->CategoryItem(EntryKind::Format)->child(0));
    QVERIFY(view_->modes.isEmpty());
    QVERIFY(view_->messages.isEmpty());

    // The line is gone but the tree still shows the instrument.
    view_->Session().Close();
    DragOnto(PcItem(QStringLiteral("a.txt")), Entry(EntryKind::Val, QStringLiteral("ValList:1")));
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY(view_->messages[0].startsWith(QStringLiteral("No instrument is connected")));
    QVERIFY(view_->progressTotals.isEmpty());
    QCOMPARE(ReceivedCount(), 0);
}

void UploadFlowTest::DropFromDesktop(const QStringList& paths, QTreeWidgetItem* target) {
    view_->scrollToItem(target);
    const QPoint point = view_->visualItemRect(target).center();
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &enter);
    QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &move);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_->viewport(), &drop);
}

void UploadFlowTest::filesDroppedFromTheDesktopAreUploaded() {
    QVERIFY(view_->AcceptsFileDrops());
    const QString a = PcFile(QStringLiteral("d1.txt"), "ONE\r\n");
    const QString b = PcFile(QStringLiteral("d2.txt"), "TWO\n");
    DropFromDesktop({a, b}, Entry(EntryKind::Code, QStringLiteral("CodeBook:2")));
    QTRY_COMPARE_WITH_TIMEOUT(view_->progressTotals.size(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(ReceivedCount(), 1, 20000);
    QCOMPARE(Received(1, "COD"), QByteArray("ONE\r\n"));
    // The upload rebuilt the category, so the entry the second file was
    // dropped on is gone: that file is not sent anywhere.
    QTest::qWait(300);
    QCOMPARE(ReceivedCount(), 1);
    QVERIFY(view_->messages.isEmpty());

    const QString c = PcFile(QStringLiteral("d3.txt"), "THREE\n");
    DropFromDesktop({c}, Entry(EntryKind::Code, QStringLiteral("CodeBook:2")));
    QTRY_COMPARE_WITH_TIMEOUT(ReceivedCount(), 2, 20000);
    QCOMPARE(Received(2, "COD"), QByteArray("THREE\r\n"));
}

QTEST_MAIN(UploadFlowTest)
#include "UploadFlowTest.moc"

// The line goes down while the instrument takes the second line: the dialog
// that counted the file's lines ends, one message is shown, and the port is
// folded.
void UploadFlowTest::lostLineEndsTheUploadAndFoldsThePort() {
    cleanup();
    Start({"--hangup-in-upload", "2"});
    PcFile(QStringLiteral("four.txt"), "L1\r\nL2\r\nL3\r\nL4\r\n");
    DragOnto(PcItem(QStringLiteral("four.txt")),
             Entry(EntryKind::Code, QStringLiteral("CodeBook:1")));
    QVERIFY(!view_->ProgressShown());
    QCOMPARE(view_->progressTotals, QList<int>{4});
    QCOMPARE(view_->messages.size(), 1);
    QVERIFY(!view_->IsConnected());
    QVERIFY(view_->SavedPortName().isEmpty());
}
