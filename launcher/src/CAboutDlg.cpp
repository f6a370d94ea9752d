#include "launcher/CAboutDlg.h"

#include "launcher/CIconButton.h"
#include "launcher/DialogScale.h"
#include "ui_CAboutDlg.h"

CAboutDlg::CAboutDlg(const QIcon& applicationIcon, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(applicationIcon.pixmap(CIconButton::kDefaultIconSize));
    setFixedSize(DialogScale::ForFont(font()).Map(size()).expandedTo(sizeHint()));
}

CAboutDlg::~CAboutDlg() = default;
