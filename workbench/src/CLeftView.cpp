#include "workbench/CLeftView.h"

#include "sharedwidgets/CFrameStatusBar.h"
#include "workbench/CMainFrame.h"
#include "workbench/CWaitDlg.h"
#include "workbench/InstrumentNode.h"
#include "workbench/PortWatch.h"
#include "workbench/StationlinkIcon.h"
#include "workbench/WideText.h"

#include "platform/TermiosSerialPro.h"
#include "platform/TrafficLog.h"
#include "session/RecoveryPolicy.h"
#include "transfer/DownloadFileSink.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyle>

#include <utility>

namespace {

// The view's own message: a reply of the link's worker, dispatched on the
// window thread. Outside the numbers the frame and the trees send each other.
constexpr auto kDeviceReply = static_cast<UserMessage>(WM_USER + 45);
const QString kRootText = QStringLiteral("X4 SERIES");

struct Reply {
    const char* tag;
    const char* data;
    int length;
    std::uint64_t generation; // the engine's, when the report was made
};

std::size_t CategoryIndex(EntryKind kind) {
    return static_cast<std::size_t>(static_cast<int>(kind) - 1);
}

} // namespace

CLeftView::CLeftView(QWidget* parent)
    : CLeftView(parent, PortList::System(), [] { return std::make_unique<TermiosSerialPro>(); }) {}

CLeftView::CLeftView(QWidget* parent, PortList ports, CQelComDll::Creator serialCreator,
                     std::chrono::milliseconds resendInterval)
    : CTreeViewExtc(parent), CKestaCom(std::move(serialCreator), resendInterval),
      ports_(std::move(ports)),
      monitor_([this](const TransferMonitor::Outcome& outcome) { OnOperationEnded(outcome); }),
      dispatcher_(model_, categoryNodes_, monitor_), progress_(this),
      fileSink_(std::make_unique<DownloadFileSink>()) {
    silenceTimer_.setInterval(1000);
    connect(&silenceTimer_, &QTimer::timeout, this, &CLeftView::CheckSilence);
    connect(this, &QTreeWidget::itemExpanded, this, &CLeftView::OnItemExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &CLeftView::OnItemCollapsed);
    // Every row is one line of text with a small icon; Qt then lays out
    // thousands of entries without asking each row for its height.
    setUniformRowHeights(true);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintIntervalMs);
    connect(&repaintTimer_, &QTimer::timeout, this, [this] { setUpdatesEnabled(true); });
    // A file dropped from the desktop's file manager is uploaded as one
    // dragged from the PC tree.
    SetAcceptsFileDrops(true);
}

CLeftView::~CLeftView() {
    // From here on the worker's sends are refused, so it never waits for us
    // while we wait for it.
    CloseMessages();
    DestroyWaitDialog();
    if (IsConnected()) {
        ClosePort();
    }
    ShutdownWorker();
}

bool CLeftView::StartTrafficLog(const QString& path, QString& error) {
    auto log = std::make_shared<TrafficLog>(QFile::encodeName(path).toStdString());
    if (!log->IsOpen()) {
        error = QString::fromStdString(log->Error());
        return false;
    }
    SetTrafficLog(std::move(log));
    return true;
}

void CLeftView::StopTrafficLog() {
    SetTrafficLog(nullptr);
}

void CLeftView::OnInitialUpdate() {
    const QStyle* style = QApplication::style();
    portClosed_ = LoadStationlinkIcon(StationlinkIcon::PortClosed);
    portOpen_ = LoadStationlinkIcon(StationlinkIcon::PortOpen);
    placeholderIcon_ = TwoStateIcon(portClosed_, portOpen_);
    folder_ = TwoStateIcon(style->standardIcon(QStyle::SP_DirClosedIcon),
                           style->standardIcon(QStyle::SP_DirOpenIcon));
    entry_ = LoadStationlinkIcon(StationlinkIcon::Entry);

    clear();
    auto* root = new QTreeWidgetItem(this, QStringList(kRootText));
    InstrumentNode::MarkRoot(root);
    root->setIcon(0, LoadStationlinkIcon(StationlinkIcon::Application));
    for (const PortList::Port& port : ports_.Ports()) {
        portNodes_.AddPortNode(port);
    }
    root->setExpanded(true);
    auto* watch = new PortWatch(ports_.Folders(), this);
    connect(watch, &PortWatch::Changed, this, [this] { portNodes_.RefreshPorts(); });
}

QTreeWidgetItem* CLeftView::AddNode(QTreeWidgetItem* parent, const QString& text,
                                    const QIcon& icon) {
    auto* node = new QTreeWidgetItem(parent, QStringList(text));
    node->setIcon(0, icon);
    return node;
}

int CLeftView::OnDeviceReply(const char* tag, const char* line, int length) {
    Reply reply{tag, line, length, Engine().ReportGeneration()};
    // A refused send means the view is closing or closing its port: the
    // reply belongs to a connection that is going away.
    TrySendUserMessage(kDeviceReply, 0, ToLParam(&reply));
    return 1;
}

LResult CLeftView::OnUserMessage(UserMessage message, WParam wParam, LParam lParam) {
    if (message == kDeviceReply) {
        const Reply* reply = FromLParam<Reply>(lParam);
        // The engine has been reset or stopped since the report was made:
        // it belongs to an operation that is over.
        if (reply->generation != Engine().CurrentGeneration()) {
            return 1;
        }
        lastReply_.restart();
        return dispatcher_.OnDeviceReply(reply->tag, reply->data, reply->length);
    }
    switch (message) {
    case UM_DELETE_FILE:
        eraser_.OnDeleteFile(lParam != 0 ? FromLParam<QTreeWidgetItem>(lParam) : LastClickedItem());
        return 0;
    case UM_INIT_DONE:
        DestroyWaitDialog();
        return 0;
    case UM_PROGRESS:
        progressFlow_.OnProgress(wParam);
        return 0;
    case UM_PORT_SETTINGS:
        portSettings_.OnPortSettings();
        return 0;
    case UM_DRAG_SOURCE:
        return downloads_.OnDragSource(FromLParam<TransferRecord>(lParam));
    case UM_DOWNLOAD:
        if (const auto* record = FromLParam<TransferRecord>(lParam)) {
            downloads_.OnDownload(*record);
        }
        return 0;
    case UM_MOVE_FILE:
        downloads_.OnMoveFile();
        return 0;
    case UM_DROP_TARGET:
        uploads_.OnDropTarget(lParam != 0 ? FromLParam<TransferRecord>(lParam) : nullptr);
        return 0;
    default:
        return CTreeViewExtc::OnUserMessage(message, wParam, lParam);
    }
}

// --- What the dispatcher changes ---------------------------------------------

QTreeWidgetItem* CLeftView::CategoryItem(EntryKind kind) const {
    const std::size_t index = CategoryIndex(kind);
    return index < categories_.size() ? categories_[index] : nullptr;
}

// --- Connect and disconnect -----------------------------------------------------

bool CLeftView::IsPortNode(const QTreeWidgetItem* item) {
    return InstrumentNode::RoleOf(item) == InstrumentNode::Role::Port;
}

void CLeftView::RemoveChildren(QTreeWidgetItem* node, bool addPlaceholder) {
    qDeleteAll(node->takeChildren());
    if (addPlaceholder) {
        new QTreeWidgetItem(node, QStringList(QString()));
    }
}

void CLeftView::OnItemExpanded(QTreeWidgetItem* item) {
    if (item == RootItem()) {
        portNodes_.RefreshPorts();
        return;
    }
    if (!IsPortNode(item)) {
        return;
    }
    if (!savedPortName_.isEmpty()) {
        ShowMessage(QStringLiteral("Another Port had opened"));
        return;
    }
    RemoveChildren(item, true);
    savedPortName_ = InstrumentNode::PortName(item);
    openedPort_ = item;
    Connect(item);
}

void CLeftView::Connect(QTreeWidgetItem* port) {
    setCurrentItem(port);
    const PortList::Port* record = ports_.Find(ToWide(savedPortName_));
    if (record == nullptr) {
        FailConnect(port, QStringLiteral("%1: no such port").arg(savedPortName_));
        return;
    }
    if (!portNodes_.Open(*record)) {
        FailConnect(port, QString::fromStdString(LastPortError()));
        return;
    }
    connectedPort_ = port;
    monitor_.SetPort(savedPortName_.toStdString());
    monitor_.BeginConnect();
    Engine().StartConnect();
    Started(1);
    RemoveChildren(port, false);

    waitDialog_ = new CWaitDlg(this);
    waitDialog_->show();
    waitDialog_->move(mapToGlobal(rect().center()) - waitDialog_->rect().center());

    for (const EntryKind kind : kCategories) {
        QTreeWidgetItem* category =
            AddNode(port, FromWide(std::u16string(CategoryText(kind))), folder_);
        InstrumentNode::MarkListed(category, InstrumentNode::Role::Category, kind);
        categories_[CategoryIndex(kind)] = category;
    }
    port->setIcon(0, portOpen_);
    if (!port->isExpanded()) {
        // Without children the node may have folded; this is not a new expansion.
        const QSignalBlocker quiet(this);
        port->setExpanded(true);
    }
}

void CLeftView::FailConnect(QTreeWidgetItem* port, const QString& why) {
    // The node folds again and may be expanded for another try.
    savedPortName_.clear();
    openedPort_ = nullptr;
    port->setExpanded(false);
    ShowMessage(why);
}

void CLeftView::OnItemCollapsed(QTreeWidgetItem* item) {
    // Only the node that holds the open (or opening) connection disconnects;
    // another port node that was let expand keeps its placeholder.
    if (item != openedPort_ || !IsPortNode(item)) {
        return;
    }
    // A transfer or an erase in progress goes only when the user says so; a
    // connect still reading the lists needs no question.
    const auto running = monitor_.Current();
    if (running != TransferMonitor::Operation::None &&
        running != TransferMonitor::Operation::Connect && !questions_.AskStopAndDisconnect()) {
        const QSignalBlocker quiet(this);
        item->setExpanded(true); // the user kept the transfer
        return;
    }
    // A transfer still running is cut off as a cancel: it ends as stopped,
    // keeping what arrived, and the instrument is told to stop before its
    // port goes.
    if (monitor_.Running()) {
        disconnecting_ = true;
        monitor_.Stop();
        disconnecting_ = false;
        SendAbortCommands();
    }
    item->setText(0, savedPortName_);
    RemoveChildren(item, true);
    savedPortName_.clear();
    openedPort_ = nullptr;
    connectedPort_ = nullptr;
    categories_.fill(nullptr);
    ClosePortFromWindow();
    item->setIcon(0, portClosed_);
    SendUserMessage(UM_INIT_DONE);
    model_.ClearFormats();
}

void CLeftView::ClosePortFromWindow() {
    // The worker may be waiting in a send to us; let it go before the port
    // and its receive thread are shut.
    auto block = BlockThreadSends();
    ClosePort();
}

void CLeftView::DestroyWaitDialog() {
    delete waitDialog_;
    waitDialog_ = nullptr;
}

void CLeftView::ShowLinkMessage(const std::string& text) {
    ShowMessage(QString::fromStdString(text));
}

void CLeftView::OnLinkLost(const std::string& reason) {
    // On the port's receive thread: end what runs on the window thread. The
    // port is folded either way, so the next start says no instrument is
    // connected instead of sending into a dead line.
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            if (monitor_.Running()) {
                monitor_.OnLinkLost(reason);
                return;
            }
            FoldConnectedPort();
            // The status bar must not go on saying "connected".
            if (const CMainFrame* frame = CMainFrame::Of(this); frame && frame->StatusBar()) {
                frame->StatusBar()->showMessage(QString::fromStdString(reason));
            }
            ShowMessage(QString::fromStdString(reason) + QLatin1Char('.'));
        },
        Qt::QueuedConnection);
}

void CLeftView::FoldConnectedPort() {
    if (openedPort_ != nullptr && openedPort_->isExpanded()) {
        openedPort_->setExpanded(false); // disconnects, as the user's collapse does
    }
}

// --- Mouse and menus ------------------------------------------------------------

void CLeftView::SetLastClicked(QTreeWidgetItem* item) {
    lastClicked_ =
        item != nullptr ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
}

QTreeWidgetItem* CLeftView::LastClickedItem() const {
    // A node removed since (its category was filled again) is gone, not dangling.
    return lastClicked_.isValid() ? itemFromIndex(lastClicked_) : nullptr;
}

void CLeftView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QTreeWidgetItem* hit = itemAt(event->position().toPoint());
        SetLastClicked(hit);
        SetPathLabel(InstrumentNode::Path(hit));
        if (hit != nullptr) {
            setCurrentItem(hit);
        }
    }
    CTreeViewExtc::mousePressEvent(event);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint global = event->globalPos();
    menus_.Show(HitTest(global), global);
    event->accept();
}

QAction* CLeftView::ExecMenu(QMenu& menu, QPoint global) {
    return menu.exec(global);
}

void CLeftView::ShowMessage(const QString& text) {
    QMessageBox::information(this, QApplication::applicationDisplayName(), text);
}

int CLeftView::ExecDialog(QDialog& dialog) {
    return dialog.exec();
}

// --- Erase, port settings, progress ----------------------------------------------

// The progress dialog is modal, so this is reached while an operation runs
// only when the user has closed its dialog, or during a connect or an erase,
// which have none; starting another would cut it off.
bool CLeftView::RefusedWhileTransferRuns() {
    if (!monitor_.Running()) {
        return false;
    }
    ShowMessage(QString::fromLatin1(kTransferRunning));
    return true;
}

bool CLeftView::Started(int started) {
    if (started == 0) {
        monitor_.Forget();
        ShowMessage(QString::fromLatin1(kOperationFailed));
        return false;
    }
    lastReply_.restart();
    bytesSeen_ = BytesReceived();
    silenceTimer_.start();
    return true;
}

// Silent means no reply and no byte: a long line on a slow line is not.
void CLeftView::CheckSilence() {
    if (BytesReceived() != bytesSeen_) {
        bytesSeen_ = BytesReceived();
        lastReply_.restart();
    }
    if (monitor_.Running() && lastReply_.isValid() &&
        std::chrono::milliseconds(lastReply_.elapsed()) >= silenceLimit_) {
        monitor_.OnSilence(silenceLimit_);
    }
}

// Every operation ends here, once, however it ended.
void CLeftView::OnOperationEnded(const TransferMonitor::Outcome& outcome) {
    // Nothing more is asked of the instrument for this operation.
    Engine().StopOperation();
    silenceTimer_.stop();
    if (outcome.operation == TransferMonitor::Operation::Connect) {
        DestroyWaitDialog();
    }
    progressFlow_.OnProgress(1);
    switch (RecoveryPolicy::After(outcome, !disconnecting_ && IsConnected())) {
    case RecoveryPolicy::Recovery::Close:
        FoldConnectedPort();
        break;
    case RecoveryPolicy::Recovery::Abort:
    case RecoveryPolicy::Recovery::Relist:
        BringInstrumentToIdle(outcome.operation);
        break;
    case RecoveryPolicy::Recovery::None:
        break;
    }
    const std::string status = TransferMonitor::StatusLine(outcome);
    if (const CMainFrame* frame = CMainFrame::Of(this);
        frame && frame->StatusBar() && !status.empty()) {
        frame->StatusBar()->showMessage(QString::fromStdString(status));
    }
    if (!outcome.message.empty()) {
        ShowMessage(QString::fromStdString(outcome.message));
    }
    if (outcome.operation == TransferMonitor::Operation::Connect) {
        portSettings_.AfterConnect(outcome);
    }
}

// The abort commands end what the instrument was doing. A cut-off upload or
// erase may have changed a list half-way, and its category may have been
// emptied or half filled: every list is read again, which begins with the
// same commands.
void CLeftView::BringInstrumentToIdle(TransferMonitor::Operation cut) {
    if (cut == TransferMonitor::Operation::Download) {
        monitor_.BeginAbort();
        Started(StartAbort());
        return;
    }
    ReadListsAgain();
}

void CLeftView::ReadListsAgain() {
    for (QTreeWidgetItem* category : categories_) {
        RemoveChildren(category, false);
    }
    model_.ClearFormats();
    connectedPort_->setText(0, savedPortName_);
    monitor_.BeginConnect();
    Engine().StartConnect();
    Started(1);
}

// --- Upload ----------------------------------------------------------------------

// --- Nodes -----------------------------------------------------------------------

QString CLeftView::StoredLine(const QTreeWidgetItem* item) const {
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(item);
    if (entry == nullptr) {
        return {};
    }
    return FromWide(
        model_.LineOf(CategoryText(*InstrumentNode::CategoryOf(entry)), ToWide(entry->text(0))));
}

// --- Downloads -------------------------------------------------------------------
