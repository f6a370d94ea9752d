#pragma once

#include "workbench/CHeaderStrip.h"

// The header strip over the instrument tree.
class CKestaTDView : public CHeaderStrip {
    Q_OBJECT

public:
    explicit CKestaTDView(QWidget* parent = nullptr)
        : CHeaderStrip(QStringLiteral("COM"), parent) {}
};
