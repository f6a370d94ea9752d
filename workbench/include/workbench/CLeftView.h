#pragma once

#include "catalogue/DeviceModel.h"
#include "catalogue/ReplyDispatcher.h"
#include "catalogue/TransferMonitor.h"
#include "protocol/CKestaCom.h"
#include "protocol/PortChoice.h"
#include "protocol/PortList.h"
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
#include "workbench/TrafficLogTarget.h"
#include "workbench/TransferRecord.h"
#include "workbench/WindowQuestions.h"

#include <QElapsedTimer>
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
// and open the port settings. The view owns the serial link (it is one), the
// device model and the progress dialog; the reply dispatcher decides what
// each reply does, the view only shows it. The port nodes follow the
// system's ports while the program runs (a port list that knows its source).
//
// Replies come on the link's worker; the view hands each one to the window
// thread with a synchronous send and dispatches it there, so the tree and
// the model are only touched on the window thread. Every operation (connect,
// download, upload, erase) is followed by the transfer monitor, whose
// outcome ends its dialogs and tells the user how it ended; a lost line also
// folds the port, as a collapse does.
class CLeftView : public CTreeViewExtc, public CKestaCom, public TrafficLogTarget {
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
    int OnDeviceReply(const char* tag, const char* line, int length) override;

    bool StartTrafficLog(const QString& path, QString& error) override;
    void StopTrafficLog() override;

    // For the transfer flows.
    DeviceModel& Model() { return model_; }
    bool OperationRunning() const { return monitor_.Running(); }
    void SetSilenceLimit(std::chrono::milliseconds limit) { silenceLimit_ = limit; }
    const PortList& Ports() const { return ports_; }
    // Runs the progress dialog modally until UM_PROGRESS 1 ends it (or the
    // user closes it); the result of its exec().
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
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

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

    void OnItemExpanded(QTreeWidgetItem* item);
    void OnItemCollapsed(QTreeWidgetItem* item);
    void Connect(QTreeWidgetItem* port);
    void FailConnect(QTreeWidgetItem* port, const QString& why);
    void ClosePortFromWindow();
    void ReadListsAgain();
    bool RefusedWhileTransferRuns();
    // The operation the monitor has just begun is started; false (with the
    // user told) when nothing could be sent.
    bool Started(int started);
    void OnOperationEnded(const TransferMonitor::Outcome& outcome);
    void BringInstrumentToIdle(TransferMonitor::Operation cut);
    void CheckSilence();
    void FoldConnectedPort();
    void DestroyWaitDialog();
    void SetLastClicked(QTreeWidgetItem* item);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, const QIcon& icon);

    static bool IsPortNode(const QTreeWidgetItem* item);
    static void RemoveChildren(QTreeWidgetItem* node, bool addPlaceholder);

    PortList ports_;
    DeviceModel model_;
    TransferMonitor monitor_;
    CategoryNodes categoryNodes_{*this};
    ReplyDispatcher dispatcher_;
    CDlgReceiving progress_;
    // Writes the download files.
    std::unique_ptr<DownloadFileSink> fileSink_;
    // While an operation runs: when the instrument was last heard.
    QTimer silenceTimer_;
    QElapsedTimer lastReply_;
    std::uint64_t bytesSeen_ = 0;
    std::chrono::milliseconds silenceLimit_ = kDefaultSilenceLimit;
    bool progressShown_ = false;
    int progressSteps_ = 0;
    bool uploading_ = false;     // a drop is being handled; further drops are refused
    bool disconnecting_ = false; // the port is going: nothing more to tell the instrument
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
