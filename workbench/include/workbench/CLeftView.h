#pragma once

#include "catalogue/DeviceModel.h"
#include "catalogue/TransferMonitor.h"
#include "protocol/PortChoice.h"
#include "protocol/PortList.h"
#include "session/TransferSession.h"
#include "workbench/CDlgReceiving.h"
#include "workbench/CTreeViewExtc.h"
#include "workbench/CategoryNodes.h"
#include "workbench/LeftViewDownloads.h"
#include "workbench/LeftViewEraser.h"
#include "workbench/LeftViewMenus.h"
#include "workbench/LeftViewPortSettings.h"
#include "workbench/LeftViewProgress.h"
#include "workbench/LeftViewUploads.h"
#include "workbench/PortNodes.h"
#include "workbench/SessionRelay.h"
#include "workbench/TrafficLogTarget.h"
#include "workbench/TransferRecord.h"
#include "workbench/WindowQuestions.h"

#include <QPersistentModelIndex>
#include <QTimer>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

class CWaitDlg;
class DownloadFileSink;
class QMenu;
struct TransferRecord;

// The instrument tree, the lower left pane: the root "X4 SERIES", one node
// per serial port, and while a port is connected its five category folders
// filled from the instrument's lists. Expanding a port connects, collapsing
// it disconnects; the context menus and the frame's commands erase entries
// and open the port settings. The view holds a transfer session, which owns
// the serial link, the device model, the reply dispatcher and the end and
// recovery of every operation; the view shows what the session reports and
// asks the user what the session's operations ask. The port nodes follow
// the system's ports while the program runs (a port list that knows its
// source).
//
// Replies are dispatched on the link's worker, where a download's file is
// written too; the changes to the tree and the session's news reach the
// window thread as queued calls (SessionRelay), so the worker never waits
// for the window. The window's timer polls the session: the cancel, the
// instrument's silence and the recovery after an end move on there. A lost
// line folds the port, as a collapse does.
class CLeftView : public CTreeViewExtc, public TrafficLogTarget {
    Q_OBJECT

public:
    // A download or erase asked for while a transfer whose progress dialog
    // the user closed still runs: starting it would cut that transfer off.
    static constexpr const char* kTransferRunning =
        "A transfer is still running: wait for its end before starting another.";
    // An operation that hears nothing from the instrument for this long ends.
    static constexpr std::chrono::milliseconds kDefaultSilenceLimit{60000};

    // The ports of this system on termios ports.
    explicit CLeftView(QWidget* parent = nullptr);
    CLeftView(QWidget* parent, PortList ports, CQelComDll::Creator serialCreator,
              std::chrono::milliseconds resendInterval = CDKestaDlg::kDefaultResendInterval);
    ~CLeftView() override;

    void OnInitialUpdate() override;

    bool StartTrafficLog(const QString& path, QString& error) override;
    void StopTrafficLog() override;

    // For the transfer flows.
    // A copy: the session's worker fills the model while a connect runs.
    DeviceModel Model() const { return session_->ModelNow(); }
    // From the start of an operation until the view has shown its end.
    bool OperationRunning() const { return running_ != TransferMonitor::Operation::None; }
    bool IsConnected() const { return session_->IsConnected(); }
    TransferSession& Session() { return *session_; }
    void SetSilenceLimit(std::chrono::milliseconds limit) { silenceLimit_ = limit; }
    const PortList& Ports() const { return ports_; }
    // Runs the progress dialog modally until the operation's end ends it (or
    // the user closes it); the result of its exec().
    // caption: "Receiving..." for a download, "Sending..." for an upload.
    int RunProgressDialog(const QString& caption, const QString& fileType, const QString& source,
                          const QString& destination, int total) {
        return progressFlow_.RunProgressDialog(caption, fileType, source, destination, total);
    }
    CDlgReceiving& ProgressDialog() { return progress_; }
    bool ProgressShown() const { return progressShown_; }
    // Steps the progress dialog took since it was last shown.
    int ProgressSteps() const { return progressSteps_; }
    // The stored list line of an entry node or of a detail node's entry;
    // empty for other nodes.
    QString StoredLine(const QTreeWidgetItem* item) const;

    // Expands the port node of that name (connecting it); false when there is none.
    bool ExpandPort(const QString& name) { return portNodes_.ExpandPort(name); }

    QTreeWidgetItem* RootItem() const { return topLevelItem(0); }
    QTreeWidgetItem* ConnectedPortItem() const { return connectedPort_; }
    QTreeWidgetItem* CategoryItem(EntryKind kind) const;
    QTreeWidgetItem* LastClickedItem() const;
    QString SavedPortName() const { return savedPortName_; }
    CWaitDlg* WaitDialog() const { return waitDialog_; }

protected:
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override;

    // A message box with an OK button.
    virtual void ShowMessage(const QString& text);
    // Runs a dialog modally; its result.
    virtual int ExecDialog(QDialog& dialog);
    // Shows a popup menu at a screen point; the chosen action or null.
    virtual QAction* ExecMenu(QMenu& menu, QPoint global);

    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The flows of the tree's commands, each a class of its own.
    friend class LeftViewDownloads;
    friend class LeftViewEraser;
    friend class LeftViewMenus;
    friend class LeftViewPortSettings;
    friend class LeftViewUploads;
    friend class PortNodes;
    friend class CategoryNodes;
    friend class LeftViewProgress;
    friend class WindowQuestions;
    friend class SessionRelay;

    void OnItemExpanded(QTreeWidgetItem* item);
    void OnItemCollapsed(QTreeWidgetItem* item);
    void Connect(QTreeWidgetItem* port);
    void FailConnect(QTreeWidgetItem* port, const QString& why);
    // Starts the connect on the open port; false (the port folded) when it
    // could not start.
    bool ReadListsAgain();
    // OperationRunning() once the end the session has queued for the view
    // (if any) is taken.
    bool StillRunning();
    bool RefusedWhileTransferRuns();
    // The session's answer to an operation's start: true when it runs;
    // otherwise the user hears why, unless they declined it themselves.
    bool Began(TransferMonitor::Operation operation, bool started);
    void PollSession();
    // Polls, then handles on the spot what the session has queued for the
    // view: an end already on its way is taken before the view decides.
    void TakeSessionNews();
    // The session's news, on the window thread.
    void OnOperationEnded(const TransferMonitor::Outcome& outcome);
    void OnLinkState(LinkState state);
    void OnLinkMessage(const std::string& text);
    void FoldConnectedPort();
    void DestroyWaitDialog();
    void SetLastClicked(QTreeWidgetItem* item);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, const QIcon& icon);

    static bool IsPortNode(const QTreeWidgetItem* item);
    static void RemoveChildren(QTreeWidgetItem* node, bool addPlaceholder);

    PortList ports_;
    CategoryNodes categoryNodes_{*this};
    SessionRelay relay_{*this};
    std::unique_ptr<TransferSession> session_;
    CDlgReceiving progress_;
    // Writes the download files, on the link's worker.
    std::unique_ptr<DownloadFileSink> fileSink_;
    // Moves the running operation on while one runs.
    QTimer pollTimer_;
    static constexpr int kPollIntervalMs = 50;
    // What the view has started and not yet seen end; the link as last told.
    TransferMonitor::Operation running_ = TransferMonitor::Operation::None;
    LinkState linkState_ = LinkState::Closed;
    std::chrono::milliseconds silenceLimit_ = kDefaultSilenceLimit;
    bool progressShown_ = false;
    int progressSteps_ = 0;
    bool uploading_ = false; // a drop is being handled; further drops are refused
    CWaitDlg* waitDialog_ = nullptr;
    QIcon portClosed_;
    QIcon portOpen_;
    QIcon placeholderIcon_;
    QIcon folder_;
    QIcon entry_;
    QPersistentModelIndex lastClicked_;
    QTreeWidgetItem* openedPort_ = nullptr;    // expanded for connecting
    QTreeWidgetItem* connectedPort_ = nullptr; // its connection is open
    std::array<QTreeWidgetItem*, 5> categories_{};
    QString savedPortName_;
    // Lines arrive faster than the tree can be painted: while they do, it is
    // painted at most every kRepaintIntervalMs.
    QTimer repaintTimer_;
    static constexpr int kRepaintIntervalMs = 100;
    PortNodes portNodes_{*this};
    LeftViewMenus menus_{*this};
    LeftViewDownloads downloads_{*this};
    LeftViewUploads uploads_{*this};
    LeftViewEraser eraser_{*this};
    LeftViewPortSettings portSettings_{*this};
    LeftViewProgress progressFlow_{*this};
    WindowQuestions questions_{*this};
};
