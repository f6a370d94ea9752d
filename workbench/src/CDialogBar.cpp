#include "workbench/CDialogBar.h"

#include "workbench/StationlinkIcon.h"

#include "ui_DialogBar.h"

#include <QLineEdit>

#include <algorithm>

CDialogBar::CDialogBar(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::CDialogBar>()) {
    ui_->setupUi(this);
    ui_->moveButton->setIcon(LoadStationlinkIcon(StationlinkIcon::Move));
    ui_->deleteButton->setIcon(LoadStationlinkIcon(StationlinkIcon::Delete));
    ui_->portButton->setIcon(LoadStationlinkIcon(StationlinkIcon::PortSettings));
    for (QAbstractButton* button : CommandButtons()) {
        const int command = button->property("commandId").toInt();
        connect(button, &QAbstractButton::clicked, this,
                [this, command] { emit CommandChosen(command); });
    }
    SetUpFilterBox();
}

CDialogBar::~CDialogBar() = default;

QComboBox* CDialogBar::FilterBox() const {
    return ui_->filterBox;
}

QList<QAbstractButton*> CDialogBar::CommandButtons() const {
    return {ui_->moveButton, ui_->deleteButton, ui_->portButton};
}

void CDialogBar::SetUpFilterBox() {
    QComboBox* box = ui_->filterBox;
    QStringList patterns;
    for (int i = 0; i < box->count(); ++i) {
        patterns << box->itemText(i);
    }
    // A sorted list, as the box keeps it: "*.*" comes first.
    std::sort(patterns.begin(), patterns.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    box->clear();
    box->addItems(patterns);
    // Selecting in code sends no notice: the tree's filter is already "*.*".
    box->setCurrentIndex(0);

    // Typed text must not choose an entry: no completion, and the field's
    // end of editing no longer selects a matching entry.
    box->setCompleter(nullptr);
    disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
    connect(box, &QComboBox::activated, this,
            [this, box](int index) { emit FilterChosen(box->itemText(index)); });
}
