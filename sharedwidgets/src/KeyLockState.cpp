#include "sharedwidgets/KeyLockState.h"

#include <QGuiApplication>

#ifdef SL_HAVE_X11
#include <X11/XKBlib.h>

namespace {
bool IndicatorOn(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return false;
    }
    return on != False;
}
} // namespace
#endif

std::optional<KeyLocks> ReadKeyLocks() {
#ifdef SL_HAVE_X11
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    if (x11 != nullptr && x11->display() != nullptr) {
        Display* display = x11->display();
        return KeyLocks{IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"),
                        IndicatorOn(display, "Scroll Lock")};
    }
#endif
    return std::nullopt;
}
