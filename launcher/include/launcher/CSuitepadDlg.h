#pragma once

#include "launcher/ToolStarter.h"

#include <QDialog>
#include <QIcon>

#include <functional>
#include <memory>

namespace Ui {
class CSuitepadDlg;
}
class CIconButton;

// The launcher window: one drawn button per tool of the suite; a click starts the tool from
// the launcher's own folder.
class CSuitepadDlg : public QDialog {
    Q_OBJECT
public:
    // Shows a message about a tool that did not start.
    using ErrorReporter = std::function<void(QWidget* parent, const QString& message)>;

    explicit CSuitepadDlg(ToolStarter starter = ToolStarter::ForThisProgram(),
                          QWidget* parent = nullptr);
    ~CSuitepadDlg() override;

    static QIcon ApplicationIcon();
    // Replaces the default message box, for callers that must not block.
    void SetErrorReporter(ErrorReporter reporter);

    void ShowAbout();

private:
    struct Tool {
        CIconButton* button;
        const char* icon;
        const char* program;
    };

    void SetUpButton(const Tool& tool);
    void ScaleToFont();
    void AddAboutEntry();
    void StartTool(const char* program);

    std::unique_ptr<Ui::CSuitepadDlg> ui_;
    ToolStarter starter_;
    ErrorReporter reportError_;
};
