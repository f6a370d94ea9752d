#pragma once

// The start-up check the desktop programs share: a code page in
// STATIONLINK_CODEPAGE that this system does not know is refused before the
// program reads or shows anything in it.
class WireCodePageCheck {
public:
    // True when the wire code page can be used; otherwise says why, naming
    // the code page, on standard error and in a message box titled with the
    // application's title, and returns false: the program must end.
    static bool Passes();
};
