#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CAboutDlg;
}

// "About Velmor stationlink": the application icon, the version line and "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
};
