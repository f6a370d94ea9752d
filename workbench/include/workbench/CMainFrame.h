#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

class CDialogBar;
class CFrameStatusBar;
class CHeaderStrip;
class CTreeViewExtc;
class MySplitterWnd;
class QToolBar;

namespace Ui {
class CMainFrame;
}

// How the frame makes its two tree panes. An empty factory makes a plain
// CTreeViewExtc; a factory that returns null makes the frame's creation fail.
struct PaneFactories {
    using TreeFactory = std::function<CTreeViewExtc*(QWidget* parent)>;
    TreeFactory instrumentTree; // pane (1, 0)
    TreeFactory pcTree;         // pane (1, 1)
};

// The main window of stationlink: the menu, the dialog bar in a movable band
// at the top, the status bar, and the two-by-two split of header strips over
// the instrument tree (left) and the PC tree (right). Menu and dialog-bar
// commands go to the instrument tree as user messages; the filter box's
// choice goes to the PC tree. Views find each other only through the frame.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(PaneFactories factories = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the bars, the splitter and the four panes; false when a pane
    // could not be made (the frame is then unusable).
    bool Create();
    // Gives every tree its initial update, once all panes exist.
    void InitialUpdate();

    // The frame a widget belongs to; null when it is in none.
    static CMainFrame* Of(const QWidget* widget);

    MySplitterWnd* Splitter() const { return splitter_; }
    CFrameStatusBar* StatusBar() const { return statusBar_; }
    CDialogBar* DialogBar() const { return dialogBar_; }
    QWidget* Pane(int row, int column) const;
    // Pane (1, 0) and pane (1, 1).
    CTreeViewExtc* InstrumentTree() const;
    CTreeViewExtc* PcTree() const;
    // The "Traffic Log" switch shows a log started elsewhere (--log).
    void ShowTrafficLogOn(bool on);
    // The header strip over a column: 0 "COM", 1 "PC".
    CHeaderStrip* HeaderStrip(int column) const;
    // Sets the path label of the header strip in the same column as view.
    void SetPathLabel(const QWidget* view, const QString& text);

public slots:
    // A menu or dialog-bar command (a FrameCommand).
    void OnCommand(int command);
    // An entry chosen in the filter box.
    void OnFilterChosen(const QString& pattern);
    void ActivateNextPane();
    void ActivatePreviousPane();
    void ShowAbout();
    void SwitchTrafficLog(bool on);

protected:
    QMenu* createPopupMenu() override;
    // The file the user chooses for the traffic log; empty when none.
    virtual QString AskTrafficLogPath();

private:
    bool CreateClient();
    void CreateBars();
    void ConnectActions();
    void ActivatePane(int step);

    std::unique_ptr<Ui::CMainFrame> ui_;
    PaneFactories factories_;
    MySplitterWnd* splitter_ = nullptr;
    CFrameStatusBar* statusBar_ = nullptr;
    QToolBar* rebar_ = nullptr;
    CDialogBar* dialogBar_ = nullptr;
};
