#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CWaitDlg;
}

// "Initiating Communication" / "Please wait...", without a caption, shown
// modelessly while a port connects.
class CWaitDlg : public QDialog {
    Q_OBJECT

public:
    explicit CWaitDlg(QWidget* parent = nullptr);
    ~CWaitDlg() override;

private:
    std::unique_ptr<Ui::CWaitDlg> ui_;
};
