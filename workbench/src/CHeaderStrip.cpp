#include "workbench/CHeaderStrip.h"

#include <QLabel>

namespace {
// The label reaches this far past the strip's right edge, so widening the
// pane never cuts a long path short.
constexpr int kLabelOverhang = 700;
} // namespace

CHeaderStrip::CHeaderStrip(const QString& initialLabel, QWidget* parent)
    : QListWidget(parent), pathLabel_(new QLabel(initialLabel, viewport())) {
    pathLabel_->setObjectName(QStringLiteral("pathLabel"));
    pathLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pathLabel_->setTextFormat(Qt::PlainText);
    pathLabel_->setIndent(3);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PlaceLabel();
}

QString CHeaderStrip::PathLabel() const {
    return pathLabel_->text();
}

void CHeaderStrip::SetPathLabel(const QString& text) {
    pathLabel_->setText(text);
}

void CHeaderStrip::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    PlaceLabel();
}

void CHeaderStrip::PlaceLabel() {
    pathLabel_->setGeometry(viewport()->rect().adjusted(0, 0, kLabelOverhang, 0));
}
