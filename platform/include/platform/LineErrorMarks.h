#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads the received bytes of a port opened with markLineErrors: the driver
// puts 0xFF 0x00 before a byte that arrived with a parity or framing error,
// sends a break as 0xFF 0x00 0x00 and doubles a real 0xFF. The marks may
// be split across bursts; what is left pending waits for the next burst.
class LineErrorMarks {
public:
    enum class Kind { BadByte, Break };

    struct Mark {
        std::uint64_t offset; // in the data handed out so far, of the byte concerned
        Kind kind;
    };

    // Appends the data bytes of burst to data and the marks found to marks.
    void Take(std::string_view burst, std::string& data, std::vector<Mark>& marks);
    // A lone 0xFF left at the end of the stream is data after all.
    void Finish(std::string& data);

private:
    enum class State { Plain, SawFF, SawFF00 };
    State state_ = State::Plain;
    std::uint64_t handedOut_ = 0;
};
