#include "alignedit/CAboutDlg.h"

#include "ui_CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    setFixedSize(sizeHint().expandedTo(size()));
}

CAboutDlg::~CAboutDlg() = default;
