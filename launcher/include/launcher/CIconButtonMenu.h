#pragma once

#include <QMenu>

// The popup menu a CIconButton can carry. The launcher attaches none, so every button's menu
// stays empty and a click is an ordinary button click.
class CIconButtonMenu : public QMenu {
    Q_OBJECT
public:
    explicit CIconButtonMenu(QWidget* parent = nullptr);
};
