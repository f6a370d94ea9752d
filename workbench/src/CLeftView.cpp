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

const QString kRootText = QStringLiteral("X4 SERIES");

std::size_t CategoryIndex(EntryKind kind) {
    return static_cast<std::size_t>(static_cast<int>(kind) - 1);
}

} // namespace

CLeftView::CLeftView(QWidget* parent)
    : CLeftView(parent, PortList::System(), [] { return std::make_unique<TermiosSerialPro>(); }) {}

CLeftView::CLeftView(QWidget* parent, PortList ports, CQelComDll::Creator serialCreator,
                     std::chrono::milliseconds resendInterval)
    : CTreeViewExtc(parent), ports_(std::move(ports)),
      session_(std::make_unique<TransferSession>(std::move(serialCreator), resendInterval)),
      progress_(this), fileSink_(std::make_unique<DownloadFileSink>()) {
    session_->SetHost(&relay_);
    session_->SetTreeFollower(&relay_);
    session_->SetQuestions(&questions_);
    pollTimer_.setInterval(kPollIntervalMs);
    connect(&pollTimer_, &QTimer::timeout, this, &CLeftView::PollSession);
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
    CloseMessages();
    DestroyWaitDialog();
    // The session's worker and receive thread end before the nodes and the
    // relay they report to.
    if (IsConnected()) {
        session_->Close();
    }
    session_.reset();
}

bool CLeftView::StartTrafficLog(const QString& path, QString& error) {
    auto log = std::make_shared<TrafficLog>(QFile::encodeName(path).toStdString());
    if (!log->IsOpen()) {
        error = QString::fromStdString(log->Error());
        return false;
    }
    session_->SetTrafficLog(std::move(log));
    return true;
}

void CLeftView::StopTrafficLog() {
    session_->SetTrafficLog(nullptr);
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

LResult CLeftView::OnUserMessage(UserMessage message, WParam wParam, LParam lParam) {
    switch (message) {
    case UM_DELETE_FILE:
        eraser_.OnDeleteFile(lParam != 0 ? FromLParam<QTreeWidgetItem>(lParam) : LastClickedItem());
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
        FailConnect(port, QString::fromStdString(session_->LastPortError()));
        return;
    }
    connectedPort_ = port;
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
    ReadListsAgain();
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
    // An operation that has ended already asks nothing and is not stopped.
    TakeSessionNews();
    // A transfer or an erase in progress goes only when the user says so; a
    // connect still reading the lists needs no question.
    if (running_ != TransferMonitor::Operation::None &&
        running_ != TransferMonitor::Operation::Connect && !questions_.AskStopAndDisconnect()) {
        const QSignalBlocker quiet(this);
        item->setExpanded(true); // the user kept the transfer
        return;
    }
    // A transfer still running is cut off as a cancel: it ends as stopped,
    // keeping what arrived, and the instrument is told to stop before its
    // port goes.
    session_->Close();
    // Its end is shown now, before the port's nodes go; a later end would
    // belong to the next connection.
    TakeSessionNews();
    item->setText(0, savedPortName_);
    RemoveChildren(item, true);
    savedPortName_.clear();
    openedPort_ = nullptr;
    connectedPort_ = nullptr;
    categories_.fill(nullptr);
    item->setIcon(0, portClosed_);
    DestroyWaitDialog();
}

void CLeftView::DestroyWaitDialog() {
    delete waitDialog_;
    waitDialog_ = nullptr;
}

// A line lost while nothing runs folds the port, so the next start says no
// instrument is connected instead of sending into a dead line. A line lost
// during an operation ends that operation, whose end folds it.
void CLeftView::OnLinkState(LinkState state) {
    linkState_ = state;
    if (state == LinkState::Lost && running_ == TransferMonitor::Operation::None) {
        FoldConnectedPort();
    }
}

// The status bar no longer says "connected" once the line is lost; it says
// why instead.
void CLeftView::OnLinkMessage(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (linkState_ == LinkState::Lost && running_ == TransferMonitor::Operation::None) {
        if (const CMainFrame* frame = CMainFrame::Of(this); frame && frame->StatusBar()) {
            frame->StatusBar()->showMessage(shown.endsWith(QLatin1Char('.')) ? shown.chopped(1)
                                                                             : shown);
        }
    }
    ShowMessage(shown);
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

// An end already on its way to the window is taken first: the lists shown
// complete mean the connect is over, even if the timer has not polled the
// session since.
bool CLeftView::StillRunning() {
    if (OperationRunning()) {
        TakeSessionNews();
    }
    return OperationRunning();
}

// The progress dialog is modal, so this is reached while an operation runs
// only when the user has closed its dialog, or during a connect or an erase,
// which have none; starting another would cut it off.
bool CLeftView::RefusedWhileTransferRuns() {
    if (!StillRunning()) {
        return false;
    }
    ShowMessage(QString::fromLatin1(kTransferRunning));
    return true;
}

bool CLeftView::Began(TransferMonitor::Operation operation, bool started) {
    if (!started) {
        if (!questions_.TakeDeclined()) {
            ShowMessage(QString::fromStdString(session_->Error()));
        }
        return false;
    }
    running_ = operation;
    pollTimer_.start();
    return true;
}

void CLeftView::PollSession() {
    if (!session_->Poll()) {
        pollTimer_.stop();
    }
}

void CLeftView::TakeSessionNews() {
    PollSession();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

// Every operation ends here, once, however it ended.
// The session has run the recovery the end needed; a line it gave up as
// lost is folded as a collapse folds it.
void CLeftView::OnOperationEnded(const TransferMonitor::Outcome& outcome) {
    running_ = TransferMonitor::Operation::None;
    if (outcome.operation == TransferMonitor::Operation::Connect) {
        DestroyWaitDialog();
    }
    progressFlow_.End();
    if (linkState_ == LinkState::Lost) {
        FoldConnectedPort();
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

// The session empties the categories and names the port as it was before
// the lists are read. An open port whose lists cannot be read is let go as
// a collapse lets it go: it would show as connected with nothing in it.
bool CLeftView::ReadListsAgain() {
    if (Began(TransferMonitor::Operation::Connect, session_->BeginConnect(silenceLimit_))) {
        return true;
    }
    FoldConnectedPort();
    return false;
}

// --- Nodes -----------------------------------------------------------------------

QString CLeftView::StoredLine(const QTreeWidgetItem* item) const {
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(item);
    if (entry == nullptr) {
        return {};
    }
    return FromWide(
        Model().LineOf(CategoryText(*InstrumentNode::CategoryOf(entry)), ToWide(entry->text(0))));
}
