#pragma once

#include <QWidget>
#include <QtTest>

// A Wayland compositor gives the keyboard only to a window the user chose,
// so keys and shortcuts a test types reach nothing there. Such a test skips
// when the window system left its window inactive; X11 and offscreen runs
// still cover it.
#define SL_SKIP_UNLESS_ACTIVE(window)                                                              \
    do {                                                                                           \
        if (!QTest::qWaitFor([&] { return (window)->isActiveWindow(); }, 1000)) {                  \
            QSKIP("The window system did not activate the window.");                               \
        }                                                                                          \
    } while (false)
