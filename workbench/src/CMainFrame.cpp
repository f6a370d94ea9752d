#include "workbench/CMainFrame.h"

#include "sharedwidgets/CFrameStatusBar.h"
#include "workbench/CAboutDlg.h"
#include "workbench/CDialogBar.h"
#include "workbench/CHeaderStrip.h"
#include "workbench/CTreeViewExtc.h"
#include "workbench/FrameCommand.h"
#include "workbench/MySplitterWnd.h"
#include "workbench/PcFilterTarget.h"
#include "workbench/StationlinkIcon.h"
#include "workbench/TrafficLogTarget.h"

#include "ui_MainFrame.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QToolBar>

namespace {
constexpr int kPaneCount = MySplitterWnd::kRows * MySplitterWnd::kColumns;
} // namespace

CMainFrame::CMainFrame(PaneFactories factories, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::CMainFrame>()),
      factories_(std::move(factories)) {
    ui_->setupUi(this);
    setWindowIcon(LoadStationlinkIcon(StationlinkIcon::Application));
    ConnectActions();
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    CreateBars();
    return CreateClient();
}

void CMainFrame::InitialUpdate() {
    for (CTreeViewExtc* tree : {InstrumentTree(), PcTree()}) {
        if (tree != nullptr) {
            tree->OnInitialUpdate();
        }
    }
    if (CTreeViewExtc* tree = InstrumentTree()) {
        tree->setFocus(Qt::OtherFocusReason);
    }
}

CMainFrame* CMainFrame::Of(const QWidget* widget) {
    return widget != nullptr ? qobject_cast<CMainFrame*>(widget->window()) : nullptr;
}

QWidget* CMainFrame::Pane(int row, int column) const {
    return splitter_ != nullptr ? splitter_->GetPane(row, column) : nullptr;
}

CTreeViewExtc* CMainFrame::InstrumentTree() const {
    return qobject_cast<CTreeViewExtc*>(Pane(1, 0));
}

CTreeViewExtc* CMainFrame::PcTree() const {
    return qobject_cast<CTreeViewExtc*>(Pane(1, 1));
}

CHeaderStrip* CMainFrame::HeaderStrip(int column) const {
    return qobject_cast<CHeaderStrip*>(Pane(0, column));
}

void CMainFrame::SetPathLabel(const QWidget* view, const QString& text) {
    int row = 0;
    int column = 0;
    if (splitter_ == nullptr || !splitter_->PaneIndex(view, row, column)) {
        return;
    }
    if (CHeaderStrip* strip = HeaderStrip(column)) {
        strip->SetPathLabel(text);
    }
}

void CMainFrame::OnCommand(int command) {
    const std::optional<UserMessage> message = MessageForCommand(command);
    CTreeViewExtc* tree = InstrumentTree();
    if (message && tree != nullptr) {
        tree->SendUserMessage(*message, 0, 0);
    }
}

void CMainFrame::OnFilterChosen(const QString& pattern) {
    auto* target = dynamic_cast<PcFilterTarget*>(PcTree());
    if (target == nullptr || pattern == target->Filter()) {
        return;
    }
    target->SetFilter(pattern);
    target->RelistCurrentItem();
}

void CMainFrame::ActivateNextPane() {
    ActivatePane(1);
}

void CMainFrame::ActivatePreviousPane() {
    ActivatePane(-1);
}

QMenu* CMainFrame::createPopupMenu() {
    // The band is always there: no menu to hide it.
    return nullptr;
}

// On: every byte of the line goes to a file the user names; off: no more.
void CMainFrame::SwitchTrafficLog(bool on) {
    auto* target = dynamic_cast<TrafficLogTarget*>(InstrumentTree());
    if (target == nullptr) {
        return;
    }
    if (!on) {
        target->StopTrafficLog();
        return;
    }
    const QString path = AskTrafficLogPath();
    QString error;
    if (path.isEmpty() || !target->StartTrafficLog(path, error)) {
        const QSignalBlocker quiet(ui_->actionTrafficLog);
        ui_->actionTrafficLog->setChecked(false);
        if (!error.isEmpty()) {
            QMessageBox::warning(this, windowTitle(), error);
        }
    }
}

QString CMainFrame::AskTrafficLogPath() {
    return QFileDialog::getSaveFileName(
        this, QStringLiteral("Traffic Log"),
        QDir::home().filePath(QStringLiteral("stationlink-traffic.log")));
}

void CMainFrame::ShowTrafficLogOn(bool on) {
    const QSignalBlocker quiet(ui_->actionTrafficLog);
    ui_->actionTrafficLog->setChecked(on);
}

void CMainFrame::ShowAbout() {
    CAboutDlg(this).exec();
}

bool CMainFrame::CreateClient() {
    splitter_ = new MySplitterWnd(this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    const auto makeTree = [this](const PaneFactories::TreeFactory& factory) {
        return factory ? factory(splitter_) : new CTreeViewExtc(splitter_);
    };
    // Panes in the order the views are made: instrument tree, the two header
    // strips, PC tree.
    CTreeViewExtc* instrumentTree = makeTree(factories_.instrumentTree);
    CTreeViewExtc* pcTree = instrumentTree != nullptr ? makeTree(factories_.pcTree) : nullptr;
    if (instrumentTree == nullptr || pcTree == nullptr) {
        delete instrumentTree;
        delete splitter_;
        splitter_ = nullptr;
        return false;
    }
    splitter_->SetPane(1, 0, instrumentTree);
    splitter_->SetPane(0, 0, new CKestaTDView);
    splitter_->SetPane(0, 1, new CKestaTDRView);
    splitter_->SetPane(1, 1, pcTree);
    setCentralWidget(splitter_);
    return true;
}

void CMainFrame::CreateBars() {
    dialogBar_ = new CDialogBar;
    connect(dialogBar_, &CDialogBar::CommandChosen, this, &CMainFrame::OnCommand);
    connect(dialogBar_, &CDialogBar::FilterChosen, this, &CMainFrame::OnFilterChosen);

    // The band that holds the dialog bar: docked at the top, with a gripper.
    rebar_ = new QToolBar(QStringLiteral("Dialog Bar"), this);
    rebar_->setObjectName(QStringLiteral("rebar"));
    rebar_->setAllowedAreas(Qt::TopToolBarArea);
    rebar_->setFloatable(false);
    rebar_->setMovable(true);
    rebar_->addWidget(dialogBar_);
    addToolBar(Qt::TopToolBarArea, rebar_);

    statusBar_ = new CFrameStatusBar(this);
    setStatusBar(statusBar_);
}

void CMainFrame::ConnectActions() {
    for (QAction* action : findChildren<QAction*>()) {
        const QVariant command = action->property("commandId");
        if (!command.isValid()) {
            continue;
        }
        // A command nothing handles shows disabled, as "&File Info" does.
        if (!MessageForCommand(command.toInt())) {
            action->setEnabled(false);
            continue;
        }
        connect(action, &QAction::triggered, this, [this, id = command.toInt()] { OnCommand(id); });
    }
    connect(ui_->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionStatusbar, &QAction::toggled, this, [this](bool shown) {
        if (statusBar_ != nullptr) {
            statusBar_->setVisible(shown);
        }
    });
    connect(ui_->actionAbout, &QAction::triggered, this, &CMainFrame::ShowAbout);
    connect(ui_->actionTrafficLog, &QAction::toggled, this, &CMainFrame::SwitchTrafficLog);
    connect(ui_->actionRefresh, &QAction::triggered, this, [this] {
        if (auto* target = dynamic_cast<PcFilterTarget*>(PcTree())) {
            target->Refresh();
        }
    });
    // The pane keys have no menu item; they work anywhere in the window.
    addAction(ui_->actionNextPane);
    addAction(ui_->actionPreviousPane);
    connect(ui_->actionNextPane, &QAction::triggered, this, &CMainFrame::ActivateNextPane);
    connect(ui_->actionPreviousPane, &QAction::triggered, this, &CMainFrame::ActivatePreviousPane);
}

void CMainFrame::ActivatePane(int step) {
    if (splitter_ == nullptr) {
        return;
    }
    int current = -1;
    for (QWidget* widget = focusWidget(); widget != nullptr && current < 0;
         widget = widget->parentWidget()) {
        int row = 0;
        int column = 0;
        if (splitter_->PaneIndex(widget, row, column)) {
            current = row * MySplitterWnd::kColumns + column;
        }
    }
    const int next =
        current < 0 ? (step > 0 ? 0 : kPaneCount - 1) : (current + step + kPaneCount) % kPaneCount;
    if (QWidget* pane = Pane(next / MySplitterWnd::kColumns, next % MySplitterWnd::kColumns)) {
        pane->setFocus(Qt::ShortcutFocusReason);
    }
}
