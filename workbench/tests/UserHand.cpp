#include "UserHand.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

UserHand::UserHand() {
    look_.setInterval(20);
    connect(&look_, &QTimer::timeout, this, &UserHand::Look);
    look_.start();
}

void UserHand::ChooseFromMenu(const QString& item) {
    steps_.push_back({true, [item](QWidget* widget) {
                          auto* menu = qobject_cast<QMenu*>(widget);
                          for (QAction* action : menu->actions()) {
                              if (action->text() == item) {
                                  QTest::mouseClick(menu, Qt::LeftButton, {},
                                                    menu->actionGeometry(action).center());
                                  return;
                              }
                          }
                          menu->close();
                      }});
}

void UserHand::OnDialog(Step step) {
    steps_.push_back({false, std::move(step)});
}

void UserHand::ClickInDialog(const QString& button) {
    OnDialog([button](QWidget* dialog) { ClickButton(dialog, button); });
}

void UserHand::ClickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text().remove(QLatin1Char('&')) == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
}

void UserHand::ChooseInCombo(QWidget* dialog, const char* comboName, const QString& text) {
    auto* combo = dialog->findChild<QComboBox*>(QLatin1String(comboName));
    const int index = combo->findText(text);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(index, 0)).center());
}

// A step runs from the event loop of the menu or dialog it waits for; the
// widget it is given may be gone once the step returns.
void UserHand::Look() {
    if (!lastHandled_.isNull() && !lastHandled_->isVisible()) {
        lastHandled_ = nullptr;
    }
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = popup != nullptr ? popup : modal;
    if (target == nullptr || target == lastHandled_ || !target->isVisible()) {
        return;
    }
    const bool isMenu = qobject_cast<QMenu*>(target) != nullptr;
    if (!steps_.empty() && steps_.front().menu == isMenu) {
        Step step = std::move(steps_.front().step);
        steps_.pop_front();
        lastHandled_ = target;
        // Run outside this timer's slot: a step may open dialogs of its own
        // (a nested event loop) that later steps answer, and a timer is not
        // called again while its slot runs.
        QTimer::singleShot(0, this, [step = std::move(step), widget = QPointer<QWidget>(target)] {
            if (!widget.isNull()) {
                step(widget);
            }
        });
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(target); box != nullptr && !isMenu) {
        messages << box->text();
        QAbstractButton* button = box->defaultButton();
        QTest::mouseClick(button != nullptr ? button : box->buttons().front(), Qt::LeftButton);
    }
}
