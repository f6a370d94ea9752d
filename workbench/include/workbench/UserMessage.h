#pragma once

#include <cstdint>

// The user messages the frame, the two trees and the transfer code send each
// other. The numbers are those of the window system's user range, so traces
// and notes that quote them stay readable.
inline constexpr unsigned WM_USER = 0x0400;

enum UserMessage : unsigned {
    UM_DROP_TARGET = WM_USER + 5,
    UM_DRAG_SOURCE = WM_USER + 10,
    UM_DOWNLOAD = WM_USER + 15,
    UM_DELETE_FILE = WM_USER + 20,
    UM_INIT_DONE = WM_USER + 25,
    UM_PROGRESS = WM_USER + 30,
    UM_MOVE_FILE = WM_USER + 35,
    UM_COPY_FILE = WM_USER + 37,
    UM_PORT_SETTINGS = WM_USER + 40,
};

// The two message parameters and the result. lParam carries a pointer (a
// TransferRecord, a tree item) or 0.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

template <typename T>
LParam ToLParam(T* pointer) {
    return reinterpret_cast<LParam>(pointer);
}

template <typename T>
T* FromLParam(LParam value) {
    return reinterpret_cast<T*>(value);
}
