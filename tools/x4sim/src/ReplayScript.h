#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The instrument's side of a traffic log (stationlink --log, stationlink-cli
// --log), played back: each line the PC sends is answered with the bytes
// the instrument sent after that line in the log. Bursts are joined per
// direction and cut into the PC's lines, so the log's cuts do not matter.
// A line the log does not hold next is looked for further on (a re-send
// after a time-out shifts the log's order); one it does not hold at all
// gets no answer.
class ReplayScript {
public:
    struct Exchange {
        std::string sent;   // one line the PC sent, line end included
        std::string answer; // what the instrument sent after it (may be empty)
    };

    // The exchanges of the log's text; none with why set when a traffic
    // line cannot be read.
    static std::optional<ReplayScript> Parse(const std::string& log, std::string& why);
    static std::optional<ReplayScript> Load(const std::string& path, std::string& why);

    // The answer to one line of the PC; none when the log holds no such line.
    std::optional<std::string> Answer(const std::string& line);
    const std::vector<Exchange>& Exchanges() const { return exchanges_; }

private:
    std::vector<Exchange> exchanges_;
    std::size_t next_ = 0;
};
