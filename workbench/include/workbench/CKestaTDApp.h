#pragma once

#include "workbench/CMainFrame.h"

#include <QApplication>

#include <memory>

// The stationlink program: makes the main window with its panes and shows it
// maximised.
class CKestaTDApp : public QApplication {
    Q_OBJECT

public:
    CKestaTDApp(int& argc, char** argv, PaneFactories factories = {});
    ~CKestaTDApp() override;

    // Start-up; false when the program must end at once.
    bool InitInstance();
    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    PaneFactories factories_;
    // Destroyed before the application object: the trees close their links
    // while the application still exists.
    std::unique_ptr<CMainFrame> frame_;
};
