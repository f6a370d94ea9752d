#include "workbench/CInputPath.h"

#include "ui_InputPath.h"

#include <QDir>

CInputPath::CInputPath(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CInputPath>()) {
    ui_->setupUi(this);
    ui_->edit1001->setText(QDir::homePath() + QLatin1Char('/'));
}

CInputPath::~CInputPath() = default;

QString CInputPath::Path() const {
    return ui_->edit1001->text();
}
