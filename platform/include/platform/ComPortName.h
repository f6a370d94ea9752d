#pragma once

#include <optional>
#include <string>
#include <string_view>

// The "COMn" names under which serial ports are shown and chosen.
class ComPortName {
public:
    // The port number of a name that is longer than three characters, begins
    // with "COM" in any case and continues with decimal digits only; none for
    // any other name (also when the number does not fit an int).
    static std::optional<int> Number(std::string_view name);
    // "COM%d".
    static std::string Format(int number);
};
