#pragma once

#include <QDialog>
#include <QIcon>

#include <memory>

namespace Ui {
class CAboutDlg;
}

// "About suitepad": the application icon and the version line.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const QIcon& applicationIcon, QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
};
