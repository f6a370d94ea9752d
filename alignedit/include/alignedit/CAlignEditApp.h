#pragma once

#include <QApplication>

#include <memory>

class CMainFrame;

// The alignedit program: the main window with one document, a new one or
// the file named on the command line.
class CAlignEditApp : public QApplication {
    Q_OBJECT

public:
    CAlignEditApp(int& argc, char** argv);
    ~CAlignEditApp() override;

    // Start-up; false when the program must end at once.
    bool InitInstance();
    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    std::unique_ptr<CMainFrame> frame_;
};
