#pragma once

#include <QDialog>
#include <QTimer>

// Ends a modal dialog the program never ends, so a stuck transfer fails its
// test instead of hanging it. One guard per run of the dialog: a guard left
// over from an earlier run of the same dialog would end a later one early.
// Generous, because the window tests also run under valgrind.
class DialogGuard {
public:
    static constexpr int kLimitMs = 120000;

    explicit DialogGuard(QDialog& dialog) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &dialog, [this, &dialog] {
            fired_ = true;
            dialog.done(-1);
        });
        timer_.start(kLimitMs);
    }

    bool Fired() const { return fired_; }

private:
    QTimer timer_;
    bool fired_ = false;
};
