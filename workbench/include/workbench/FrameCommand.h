#pragma once

#include "workbench/UserMessage.h"

#include <optional>

// Command identifiers of the frame's menu and dialog bar. The .ui files carry
// them as the "commandId" property of each action and button.
enum FrameCommand : int {
    ID_PORT_SETTING = 32776,
    ID_MOVE_FILE = 32777, // "&Move" and "&Rename"
    ID_DELETE_FILE = 32778,
    ID_FILE_INFO = 32780,
    IDC_MOVE_BUTTON = 1001,
    IDC_DELETE_BUTTON = 32771,
    IDC_PORT_BUTTON = 1006,
};

// The message a command sends to the instrument tree (wParam 0, lParam 0);
// empty for a command nothing handles, which the frame shows disabled.
constexpr std::optional<UserMessage> MessageForCommand(int command) {
    switch (command) {
    case ID_MOVE_FILE:
    case IDC_MOVE_BUTTON:
        return UM_MOVE_FILE;
    case ID_DELETE_FILE:
    case IDC_DELETE_BUTTON:
        return UM_DELETE_FILE;
    case ID_PORT_SETTING:
    case IDC_PORT_BUTTON:
        return UM_PORT_SETTINGS;
    default:
        return std::nullopt;
    }
}
