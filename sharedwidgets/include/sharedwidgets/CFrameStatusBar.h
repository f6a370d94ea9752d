#pragma once

#include "sharedwidgets/KeyLockState.h"

#include <QStatusBar>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

class QLabel;

// The frame's status bar: a message pane that reads "Ready" when idle (menu
// prompts show there while a menu item is highlighted), followed by the
// CAPS, NUM and SCRL indicators, which show their text while the lock is on.
class CFrameStatusBar : public QStatusBar {
    Q_OBJECT

public:
    using LockReader = std::function<std::optional<KeyLocks>()>;

    explicit CFrameStatusBar(QWidget* parent = nullptr, LockReader reader = ReadKeyLocks);

    QString IdleText() const;
    // The texts the three indicators show now ("" while a lock is off).
    std::array<QString, 3> IndicatorTexts() const;
    // Reads the lock keys again (also done on a short timer); false when the
    // display cannot tell them.
    bool UpdateIndicators();

private:
    LockReader reader_;
    QLabel* idle_;
    std::array<QLabel*, 3> indicators_{};
    QTimer poll_;
};
