#include "workbench/CLeftView.h"

#include "workbench/CDlgComSetting.h"
#include "workbench/CFrameStatusBar.h"
#include "workbench/CInputPath.h"
#include "workbench/CKSDeviceToPcDlg.h"
#include "workbench/CMainFrame.h"
#include "workbench/CWaitDlg.h"
#include "workbench/InstrumentNode.h"
#include "workbench/PortWatch.h"
#include "workbench/StationlinkIcon.h"

#include "catalogue/DownloadPlan.h"
#include "catalogue/EraseFlow.h"
#include "catalogue/ListLine.h"
#include "catalogue/RequestKind.h"
#include "catalogue/UploadPlan.h"
#include "platform/CodePage.h"
#include "platform/TermiosSerialPro.h"
#include "platform/TrafficLog.h"
#include "session/RecoveryPolicy.h"
#include "session/ReplaceNotice.h"
#include "transfer/DownloadFileSink.h"
#include "transfer/FreeFileName.h"
#include "transfer/LocalPath.h"
#include "transfer/UploadFileReader.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidgetItemIterator>

#include <filesystem>
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

QString FromWide(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToWide(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

std::string Ansi(const std::u16string& text) {
    return CodePage::Wire().ToAnsi(text);
}

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
      dispatcher_(model_, *this, monitor_), progress_(this),
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
        AddPortNode(port);
    }
    root->setExpanded(true);
    auto* watch = new PortWatch(ports_.Folders(), this);
    connect(watch, &PortWatch::Changed, this, &CLeftView::RefreshPorts);
}

void CLeftView::AddPortNode(const PortList::Port& port) {
    const QString name = FromWide(port.settings.portName);
    QTreeWidgetItem* node = AddNode(RootItem(), name, portClosed_);
    InstrumentNode::MarkPort(node, name);
    ShowDevice(node, port);
    AddNode(node, QString(), placeholderIcon_);
}

// The device behind the COM name, where the user points at it.
void CLeftView::ShowDevice(QTreeWidgetItem* node, const PortList::Port& port) {
    const QString device = QString::fromStdString(port.deviceFile + " - " + port.description);
    node->setToolTip(0, device);
    node->setStatusTip(0, device);
}

// Ports that came or went since the list was read show without a restart;
// the node of the open (or opening) connection stays until it is collapsed.
void CLeftView::RefreshPorts() {
    QTreeWidgetItem* root = RootItem();
    if (root == nullptr || !ports_.Rescan()) {
        return;
    }
    const auto nameOf = [](const QTreeWidgetItem* node) { return InstrumentNode::PortName(node); };
    for (int i = root->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* node = root->child(i);
        if (node != openedPort_ && ports_.Find(ToWide(nameOf(node))) == nullptr) {
            delete node;
        }
    }
    for (const PortList::Port& port : ports_.Ports()) {
        const QString name = FromWide(port.settings.portName);
        QTreeWidgetItem* node = nullptr;
        for (int i = 0; i < root->childCount() && node == nullptr; ++i) {
            node = nameOf(root->child(i)) == name ? root->child(i) : nullptr;
        }
        if (node != nullptr) {
            ShowDevice(node, port);
        } else {
            AddPortNode(port);
        }
    }
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
        OnDeleteFile(lParam != 0 ? FromLParam<QTreeWidgetItem>(lParam) : LastClickedItem());
        return 0;
    case UM_INIT_DONE:
        DestroyWaitDialog();
        return 0;
    case UM_PROGRESS:
        OnProgress(wParam);
        return 0;
    case UM_PORT_SETTINGS:
        OnPortSettings();
        return 0;
    case UM_DRAG_SOURCE:
        return OnDragSource(FromLParam<TransferRecord>(lParam));
    case UM_DOWNLOAD:
        if (const auto* record = FromLParam<TransferRecord>(lParam)) {
            OnDownload(*record);
        }
        return 0;
    case UM_MOVE_FILE:
        OnMoveFile();
        return 0;
    case UM_DROP_TARGET:
        OnDropTarget(lParam != 0 ? FromLParam<TransferRecord>(lParam) : nullptr);
        return 0;
    default:
        return CTreeViewExtc::OnUserMessage(message, wParam, lParam);
    }
}

// --- What the dispatcher changes ---------------------------------------------

std::u16string CLeftView::ConnectedPortText() const {
    return connectedPort_ != nullptr ? ToWide(connectedPort_->text(0)) : std::u16string();
}

void CLeftView::SetConnectedPortText(const std::u16string& text) {
    if (connectedPort_ != nullptr) {
        connectedPort_->setText(0, FromWide(text));
    }
}

void CLeftView::HoldRepaints() {
    if (!repaintTimer_.isActive()) {
        setUpdatesEnabled(false);
        repaintTimer_.start();
    }
}

void CLeftView::AppendEntry(EntryKind kind, const DeviceEntry& entry) {
    QTreeWidgetItem* category = CategoryItem(kind);
    if (category == nullptr) {
        return;
    }
    HoldRepaints();
    QTreeWidgetItem* node =
        AddNode(category, FromWide(entry.label), kind == EntryKind::Format ? entry_ : folder_);
    InstrumentNode::MarkListed(node, InstrumentNode::Role::Entry, kind);
    for (const std::u16string& detail : entry.details) {
        QTreeWidgetItem* detailNode = AddNode(node, FromWide(detail), entry_);
        InstrumentNode::MarkListed(detailNode, InstrumentNode::Role::Detail, kind);
        if (kind == EntryKind::Job) {
            InstrumentNode::MarkPart(detailNode, DownloadPlan::JobPartOf(detail));
        }
    }
    if (!category->isExpanded()) {
        category->setExpanded(true);
    }
}

void CLeftView::ClearCategory(EntryKind kind) {
    if (QTreeWidgetItem* category = CategoryItem(kind)) {
        HoldRepaints();
        RemoveChildren(category, false);
    }
}

void CLeftView::InitDone() {
    SendUserMessage(UM_INIT_DONE);
}

void CLeftView::StepProgress() {
    SendUserMessage(UM_PROGRESS, 0);
}

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
        RefreshPorts();
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
    if (!OpenRecord(*record)) {
        FailConnect(port, QString::fromStdString(LastPortError()));
        return;
    }
    connectedPort_ = port;
    monitor_.SetPort(savedPortName_.toStdString());
    monitor_.BeginConnect();
    Engine().ResetEngine();
    Engine().SetStepIndex(0);
    Engine().SendConnectStep();
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
    if (!MayDisconnect()) {
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

// A transfer or an erase in progress goes only when the user says so; a
// connect still reading the lists needs no question.
bool CLeftView::MayDisconnect() {
    const auto running = monitor_.Current();
    if (running == TransferMonitor::Operation::None ||
        running == TransferMonitor::Operation::Connect) {
        return true;
    }
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QStringLiteral("A transfer is running: stop it and disconnect?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    ExecDialog(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

bool CLeftView::AskReplaceInstrumentData(const std::string& notice) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QString::fromStdString(notice) + QStringLiteral(". Replace them?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    ExecDialog(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
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
        SetPathLabel(NodePath(hit));
        if (hit != nullptr) {
            setCurrentItem(hit);
        }
    }
    CTreeViewExtc::mousePressEvent(event);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint global = event->globalPos();
    QTreeWidgetItem* hit = HitTest(global);
    SetLastClicked(hit);
    // Entries offer what their detail nodes do; the dialogs ask a job's part.
    if (InstrumentNode::EntryOf(hit) != nullptr) {
        ShowDetailMenu(hit, global);
    }
    // The first menu may have removed the node (an erase empties its category).
    hit = LastClickedItem();
    if (IsPortNode(hit)) {
        ShowPortMenu(hit, global);
    }
    event->accept();
}

void CLeftView::ShowDetailMenu(QTreeWidgetItem* node, QPoint global) {
    SetPathLabel(NodePath(node));
    setCurrentItem(node);
    QMenu menu(this);
    QAction* erase = menu.addAction(QStringLiteral("Delete File"));
    QAction* move = menu.addAction(QStringLiteral("Move File"));
    QAction* copy = menu.addAction(QStringLiteral("Copy File"));
    QAction* chosen = ExecMenu(menu, global);
    if (chosen == erase) {
        SendUserMessage(UM_DELETE_FILE, 0, ToLParam(node));
    } else if (chosen == move) {
        SendUserMessage(UM_MOVE_FILE);
    } else if (chosen == copy) {
        CopyFile(node);
    }
}

void CLeftView::ShowPortMenu(QTreeWidgetItem* node, QPoint global) {
    setCurrentItem(node);
    QMenu menu(this);
    QAction* settings = menu.addAction(QStringLiteral("Port Set"));
    if (ExecMenu(menu, global) == settings) {
        SendUserMessage(UM_PORT_SETTINGS);
    }
}

void CLeftView::CopyFile(QTreeWidgetItem* node) {
    TransferRecord record;
    record.sourceItem = node;
    if (!FillRecord(record, node)) {
        return;
    }
    const CMainFrame* frame = CMainFrame::Of(this);
    if (CTreeViewExtc* pc = frame != nullptr ? frame->PcTree() : nullptr) {
        pc->SendUserMessage(UM_COPY_FILE, 0, ToLParam(&record));
    }
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

void CLeftView::OnDeleteFile(QTreeWidgetItem* node) {
    QTreeWidgetItem* entry = InstrumentNode::EntryOf(node);
    if (entry == nullptr) {
        ShowMessage(FromWide(std::u16string(EraseFlow::kDelError)));
        return;
    }
    if (!IsConnected()) {
        ShowMessage(FromWide(std::u16string(DownloadPlan::kNotConnected)));
        return;
    }
    if (RefusedWhileTransferRuns()) {
        return;
    }
    QTreeWidgetItem* category = entry->parent();
    const auto kind = InstrumentNode::CategoryOf(entry);
    const auto mode = RequestKindOf(*kind, RequestAction::Erase);
    if (!mode) {
        return; // formats are not erased
    }
    const std::u16string line = model_.LineOf(CategoryText(*kind), ToWide(entry->text(0)));
    CKSDeviceToPcDlg dialog(this);
    dialog.dialogMode = *mode;
    dialog.fileName = FromWide(ListLine::Split(line, ListLine::kStoredFields).front());
    // The part the user clicked is the one preselected; from the entry none.
    if (const auto part = InstrumentNode::PartOf(node)) {
        dialog.jobPart = *part;
    }
    for (const auto* part : {u"COORDS", u"OBSERV"}) {
        const auto note = EraseFlow::DialogNote(*mode, line, part);
        dialog.erasedTexts << FromWide(note.text);
        dialog.erasable << note.erasable;
    }
    if (ExecDialog(dialog) != 1) {
        return;
    }
    const auto decision = EraseFlow::Decide(*mode, line, ToWide(dialog.chosenFileType));
    if (!decision.request) {
        ShowMessage(FromWide(decision.refusal));
        return;
    }
    if (!decision.request->BuildScript(Engine())) {
        ShowMessage(QString::fromLatin1(kOperationFailed));
        return;
    }
    const QString label = entry->text(0); // the node goes with its category's children
    monitor_.BeginErase(*decision.request, FromWide(decision.subject).toStdString());
    const int listed = category->childCount();
    if (Started(StartErase())) {
        RemoveChildren(category, false);
        // Its steps are the list's lines read again; it may be cancelled.
        RunProgressDialog(QStringLiteral("Erasing..."), dialog.chosenFileType, label,
                          savedPortName_, listed);
    }
}

void CLeftView::OnPortSettings() {
    QStringList names;
    QMap<QString, QString> descriptions;
    QMap<QString, ComSettingChoice> stored;
    for (const PortList::Port& port : ports_.Ports()) {
        const QString name = FromWide(port.settings.portName);
        names << name;
        descriptions.insert(name,
                            QString::fromStdString(port.deviceFile + " - " + port.description));
        if (const auto held = ports_.StoredChoice(port.settings.portName)) {
            stored.insert(name, {name,
                                 {},
                                 FromWide(held->baudRate),
                                 FromWide(held->parity),
                                 FromWide(held->stopBits),
                                 FromWide(held->dataBits),
                                 {}});
        }
    }
    CDlgComSetting dialog(this);
    dialog.SetPortNames(names);
    const QTreeWidgetItem* clicked = LastClickedItem();
    if (IsPortNode(clicked)) {
        dialog.SetPreselectedPort(InstrumentNode::PortName(clicked));
    }
    dialog.SetPortDescriptions(descriptions);
    dialog.SetStoredChoices(stored);
    if (ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const ComSettingChoice& c = dialog.Choice();
    std::optional<PortChoice> before;
    if (const PortList::Port* held = ports_.Find(ToWide(c.port))) {
        const PortSettings& s = held->settings;
        before = PortChoice{s.portName, s.baudRate, s.parity, s.stopBits, s.dataBits};
    }
    ports_.ApplyChoice({ToWide(c.port), ToWide(c.baudRate), ToWide(c.parity), ToWide(c.stopBits),
                        ToWide(c.dataBits)});
    ApplyToOpenPort(c.port, before);
}

// New settings of the connected port take effect at once: the port is
// opened again with them and the lists are read again, which shows whether
// the instrument answers at them. While a transfer runs that
// would cut it off, so the user is told they come with the next connect.
void CLeftView::ApplyToOpenPort(const QString& port, const std::optional<PortChoice>& before) {
    const QString connected = savedPortName_;
    if (!IsConnected() || port != connected) {
        return;
    }
    if (monitor_.Running()) {
        ShowMessage(QStringLiteral("The new settings of %1 apply at its next connect: a transfer "
                                   "is running.")
                        .arg(port));
        return;
    }
    const PortList::Port* record = ports_.Find(ToWide(port));
    ClosePortFromWindow();
    if (record == nullptr || !OpenRecord(*record)) {
        const QString why = QString::fromStdString(LastPortError());
        FoldConnectedPort();
        ShowMessage(why);
        return;
    }
    portCheck_ = before;
    ReadListsAgain();
}

void CLeftView::ReportPortCheck(const TransferMonitor::Outcome& outcome) {
    const PortChoice before = *std::exchange(portCheck_, std::nullopt);
    const PortList::Port* record = ports_.Find(before.port);
    const QString port = FromWide(before.port);
    const QString baud = record != nullptr ? FromWide(record->settings.baudRate) : QString();
    if (outcome.ending == TransferMonitor::Ending::Done) {
        if (const CMainFrame* frame = CMainFrame::Of(this); frame && frame->StatusBar()) {
            frame->StatusBar()->showMessage(
                QStringLiteral("%1: the instrument answered at %2 baud").arg(port, baud));
        }
        return;
    }
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QStringLiteral("The instrument did not answer on %1 at %2 baud.\n\nGo back "
                                   "to the earlier settings (%3 baud)? Then open %1 again.")
                        .arg(port, baud, FromWide(before.baudRate)),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    ExecDialog(box);
    if (box.clickedButton() == box.button(QMessageBox::Yes)) {
        ports_.ApplyChoice(before);
    }
}

// The device the node shows, not a fresh look-up of its name: adapters
// plugged in since would shift the numbering.
bool CLeftView::OpenRecord(const PortList::Port& record) {
    const PortSettings& s = record.settings;
    return OpenPort(Ansi(s.portName).c_str(), Ansi(s.baudRate).c_str(), Ansi(s.dataBits).c_str(),
                    Ansi(s.stopBits).c_str(), Ansi(s.parity).c_str(), record.deviceFile.c_str());
}

int CLeftView::RunProgressDialog(const QString& caption, const QString& fileType,
                                 const QString& source, const QString& destination, int total) {
    progress_.caption = caption;
    progress_.fileType = fileType;
    progress_.source = source;
    progress_.destination = destination;
    progress_.block.clear();
    progress_.total = total;
    progress_.totalText = QString::number(total);
    // The bytes on the wire in the transfer's direction since it began.
    const bool sending = caption == QLatin1String("Sending...");
    const std::uint64_t start = sending ? BytesSent() : BytesReceived();
    progress_.bytesDone = [this, sending, start] {
        return (sending ? BytesSent() : BytesReceived()) - start;
    };
    progressShown_ = true;
    progressSteps_ = 0;
    const int result = ExecDialog(progress_);
    // Still shown: the user ended the dialog ("Cancel", Escape, closing it).
    if (progressShown_) {
        progressShown_ = false;
        monitor_.Stop();
    }
    return result;
}

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
    OnProgress(1);
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
    if (outcome.operation == TransferMonitor::Operation::Connect && portCheck_) {
        ReportPortCheck(outcome);
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
    Engine().ResetEngine();
    Engine().SetStepIndex(0);
    Engine().SendConnectStep();
    Started(1);
}

void CLeftView::OnProgress(WParam wParam) {
    if (wParam == 0) {
        ++progressSteps_;
        progress_.Step();
        // The list's count is an estimate; the transfer's header tells the lines.
        if (const auto announced = static_cast<std::int32_t>(monitor_.AnnouncedLines());
            announced > 0 && announced != progress_.total) {
            progress_.SetTotal(announced);
        }
    } else if (progressShown_) {
        progressShown_ = false;
        progress_.Refresh();
        progress_.done(0);
    }
}

// --- Upload ----------------------------------------------------------------------

void CLeftView::OnDropTarget(TransferRecord* record) {
    // Desktop drops of several files come one message each; while one
    // upload runs the others are refused rather than queued behind it.
    if (record == nullptr || record->targetItem == nullptr || uploading_ || progressShown_) {
        return;
    }
    // An entry names itself, a detail node its entry.
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(record->targetItem);
    if (entry == nullptr) {
        return;
    }
    record->category = FromWide(CategoryText(*InstrumentNode::CategoryOf(entry)));
    record->destination = entry->text(0);
    uploading_ = true;
    const bool ran = Upload(*record);
    uploading_ = false;
    if (!ran) {
        ShowMessage(FromWide(std::u16string(UploadPlan::kTranslatedFail)));
    }
}

// False when the PC file could not be sent at all.
bool CLeftView::Upload(const TransferRecord& record) {
    const auto plan = UploadPlan::Prepare(
        model_, {ToWide(record.category), ToWide(record.destination)}, ToWide(record.source));
    if (!plan) {
        return true;
    }
    // A node of this tree dragged onto itself names no PC file. Asked before
    // the dialog: the dragged item may be gone once it has closed.
    const bool fromHere = record.sourceItem != nullptr && record.sourceItem->treeWidget() == this;
    CKSDeviceToPcDlg dialog(this);
    dialog.dialogMode = plan->mode;
    dialog.fromText = record.source;
    dialog.toText = FromWide(plan->targetText);
    dialog.nameEditable = plan->nameUsed;
    dialog.fileName = FromWide(plan->fileName);
    for (const std::u16string& type : plan->dataTypes) {
        dialog.dataTypeChoices << FromWide(type);
    }
    if (ExecDialog(dialog) != 1) {
        return true;
    }
    const UploadFile file =
        fromHere ? UploadFile{} : UploadFileReader(CodePage::Wire()).Read(ToWide(record.source));
    const auto decision =
        UploadPlan::Decide(*plan, ToWide(record.source), file, ToWide(dialog.fileName),
                           ToWide(dialog.chosenDataType), IsConnected());
    if (!decision.request) {
        for (const std::u16string& message : decision.messages) {
            ShowMessage(FromWide(message));
        }
        return !decision.failed;
    }
    // A connect still reading the lists (or any other operation) would be
    // cut off by the upload's script.
    if (RefusedWhileTransferRuns()) {
        return true;
    }
    const std::string pcName =
        std::filesystem::path(record.source.toStdString()).filename().string();
    if (const auto notice = ReplaceNotice::ForUpload(plan->storedLine, *decision.request, pcName);
        notice && !AskReplaceInstrumentData(*notice)) {
        return true;
    }
    if (const auto built = decision.request->BuildScript(Engine()); !built) {
        ShowMessage(QString::fromStdString(built.error));
        return false;
    }
    monitor_.BeginUpload(*decision.request, record.source.toStdString());
    if (!Started(StartUpload())) {
        return true;
    }
    if (decision.request->lines.empty()) {
        ShowMessage(FromWide(std::u16string(UploadPlan::kEmptyFile)));
        return true;
    }
    // What goes where: the data's kind, the PC file, the instrument entry.
    const int total = static_cast<int>(decision.request->lines.size());
    RunProgressDialog(QStringLiteral("Sending..."),
                      FromWide(UploadPlan::FileTypeOf(plan->mode, ToWide(dialog.chosenDataType))),
                      record.source, FromWide(plan->targetText), total);
    return true;
}

bool CLeftView::ExpandPort(const QString& name) {
    for (int i = 0; RootItem() != nullptr && i < RootItem()->childCount(); ++i) {
        if (InstrumentNode::PortName(RootItem()->child(i)) == name) {
            RootItem()->child(i)->setExpanded(true);
            return true;
        }
    }
    return false;
}

// --- Nodes -----------------------------------------------------------------------

QString CLeftView::NodePath(const QTreeWidgetItem* item) {
    if (item == nullptr || InstrumentNode::RoleOf(item) == InstrumentNode::Role::Root) {
        return {};
    }
    if (item->parent() == nullptr) {
        return item->text(0);
    }
    return NodePath(item->parent()) + QLatin1Char('\\') + item->text(0);
}

QString CLeftView::StoredLine(const QTreeWidgetItem* item) const {
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(item);
    if (entry == nullptr) {
        return {};
    }
    return FromWide(
        model_.LineOf(CategoryText(*InstrumentNode::CategoryOf(entry)), ToWide(entry->text(0))));
}

// --- Downloads -------------------------------------------------------------------

bool CLeftView::HoldsItem(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return false;
    }
    // The pointer may come from a copy made before its category was refilled:
    // compare it with the live nodes rather than follow it.
    for (QTreeWidgetItemIterator it(const_cast<CLeftView*>(this)); *it != nullptr; ++it) {
        if (*it == item) {
            return true;
        }
    }
    return false;
}

bool CLeftView::FillRecord(TransferRecord& record, const QTreeWidgetItem* node) const {
    const QTreeWidgetItem* entry = InstrumentNode::EntryOf(node);
    if (entry == nullptr || node->treeWidget() != this) {
        return false;
    }
    const EntryKind kind = *InstrumentNode::CategoryOf(entry);
    record.category = FromWide(CategoryText(kind));
    record.source = entry->text(0);
    // A job's detail node names its part; from the entry the dialog asks.
    record.jobPart = InstrumentNode::PartOf(node).value_or(TransferRecord::kNoJobPart);
    return true;
}

LResult CLeftView::OnDragSource(TransferRecord* record) const {
    return record != nullptr && HoldsItem(record->sourceItem) &&
                   FillRecord(*record, record->sourceItem)
               ? 1
               : 0;
}

void CLeftView::OnDownload(const TransferRecord& record) {
    if (!IsConnected()) {
        // Nothing would be sent and no end would ever close the progress dialog.
        ShowMessage(FromWide(std::u16string(DownloadPlan::kNotConnected)));
        return;
    }
    if (RefusedWhileTransferRuns()) {
        return;
    }
    const std::u16string category = ToWide(record.category);
    const std::u16string line = model_.LineOf(category, ToWide(record.source));
    const auto plan = DownloadPlan::Prepare(category, line, model_.FormatList());
    if (!plan) {
        return;
    }
    CKSDeviceToPcDlg dialog(this);
    dialog.dialogMode = plan->mode;
    dialog.jobPart = record.jobPart;
    dialog.fromText = HoldsItem(record.sourceItem) ? NodePath(record.sourceItem) : QString();
    dialog.toText = record.destination;
    dialog.fileName = FromWide(plan->fileName);
    for (const std::u16string& choice : plan->dataTypeChoices) {
        dialog.dataTypeChoices << FromWide(choice);
    }
    dialog.dataTypeNote = FromWide(std::u16string(DownloadPlan::kOtherTypeNote));
    DownloadPlan::Decision decision;
    do {
        if (ExecDialog(dialog) != 1) {
            return;
        }
        decision = DownloadPlan::Decide(plan->mode, line, ToWide(record.destination),
                                        {ToWide(dialog.fileName), ToWide(dialog.chosenDataType),
                                         ToWide(dialog.chosenFileType)});
        if (!decision.request) {
            ShowMessage(FromWide(decision.refusal));
        }
    } while (decision.askAgain);
    if (decision.request && KeepsExistingFile(*decision.request)) {
        StartDownloadRequest(*decision.request, record.source, FromWide(line), record.destination,
                             decision.total);
    }
}

// A file of the download's name is the user's data: asked whether to
// replace it, to keep both (the download then takes a free name beside it),
// or to cancel. False for cancel.
bool CLeftView::KeepsExistingFile(TransferRequest& request) {
    const std::string path = LocalPath::FromWide(request.jobLabel);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return true;
    }
    const std::string free = FreeFileName::Beside(path);
    const QString name = QString::fromStdString(std::filesystem::path(path).filename().string());
    const QString freeName =
        QString::fromStdString(std::filesystem::path(free).filename().string());
    QMessageBox box(
        QMessageBox::Question, QApplication::applicationDisplayName(),
        QStringLiteral("\"%1\" already exists in %2.\n\nReplace it, or keep both and "
                       "save the download as \"%3\"?")
            .arg(name, QString::fromStdString(std::filesystem::path(path).parent_path().string()),
                 freeName),
        QMessageBox::NoButton, this);
    QPushButton* replace = box.addButton(QStringLiteral("Replace"), QMessageBox::DestructiveRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep Both"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    ExecDialog(box);
    if (box.clickedButton() == keep) {
        request.jobLabel = CodePage("UTF-8").ToWide(free);
        return true;
    }
    return box.clickedButton() == replace;
}

void CLeftView::StartDownloadRequest(const TransferRequest& request, const QString& item,
                                     const QString& source, const QString& destination, int total) {
    if (!request.BuildScript(Engine())) {
        ShowMessage(QString::fromLatin1(kOperationFailed));
        return;
    }
    monitor_.BeginDownload(request, item.toStdString(), *fileSink_);
    if (Started(StartDownload())) {
        RunProgressDialog(QStringLiteral("Receiving..."), FromWide(request.partCode), source,
                          destination, total);
    }
}

void CLeftView::OnMoveFile() {
    if (InstrumentNode::EntryOf(LastClickedItem()) == nullptr) {
        ShowMessage(FromWide(std::u16string(DownloadPlan::kSelectFile)));
        return;
    }
    CInputPath dialog(this);
    if (ExecDialog(dialog) != QDialog::Accepted) {
        return;
    }
    // The node may have gone while the dialog was open.
    TransferRecord record;
    record.sourceItem = LastClickedItem();
    if (!FillRecord(record, record.sourceItem)) {
        return;
    }
    record.destination = FromWide(DownloadPlan::FolderOf(ToWide(dialog.Path())));
    SendUserMessage(UM_DOWNLOAD, 0, ToLParam(&record));
}
