#pragma once

#include "workbench/CHeaderStrip.h"

// The header strip over the PC tree.
class CKestaTDRView : public CHeaderStrip {
    Q_OBJECT

public:
    explicit CKestaTDRView(QWidget* parent = nullptr)
        : CHeaderStrip(QStringLiteral("PC"), parent) {}
};
