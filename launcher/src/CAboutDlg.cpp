#include "launcher/CAboutDlg.h"

#include "launcher/CIconButton.h"
#include "ui_CAboutDlg.h"

#include <QLayout>

CAboutDlg::CAboutDlg(const QIcon& applicationIcon, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(applicationIcon.pixmap(CIconButton::kDefaultIconSize));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

CAboutDlg::~CAboutDlg() = default;
