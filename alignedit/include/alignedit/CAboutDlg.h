#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CAboutDlg;
}

// "About alignedit": the application icon, "alignedit Version 2.0" and "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
};
