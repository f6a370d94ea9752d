#include "workbench/CWaitDlg.h"

#include "workbench/StationlinkIcon.h"

#include "ui_WaitDlg.h"

CWaitDlg::CWaitDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui_(std::make_unique<Ui::CWaitDlg>()) {
    ui_->setupUi(this);
    ui_->pictureLabel->setPixmap(LoadStationlinkIcon(StationlinkIcon::Application).pixmap(48, 48));
    setModal(false);
}

CWaitDlg::~CWaitDlg() = default;
