#pragma once

#include <string>

// The instrument's end of the line: a pseudo-terminal in raw mode whose
// slave device the PC opens like a serial port. The simulator keeps a slave
// descriptor of its own, so the line stays up between the PC's opens.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool Open(std::string& error);
    // Makes path a symbolic link to the slave device (replacing an older
    // link); the link is removed again by HangUp and the destructor.
    bool Link(const std::string& path, std::string& error);

    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }
    // Closes the line: the PC side sees a hang-up.
    void HangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string link_;
};
