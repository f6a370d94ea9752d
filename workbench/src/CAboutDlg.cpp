#include "workbench/CAboutDlg.h"

#include "workbench/StationlinkIcon.h"

#include "ui_AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(LoadStationlinkIcon(StationlinkIcon::Application).pixmap(32, 32));
    setFixedSize(sizeHint().expandedTo(size()));
}

CAboutDlg::~CAboutDlg() = default;
