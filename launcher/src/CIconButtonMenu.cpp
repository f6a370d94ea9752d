#include "launcher/CIconButtonMenu.h"

CIconButtonMenu::CIconButtonMenu(QWidget* parent) : QMenu(parent) {}
