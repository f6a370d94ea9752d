#pragma once

#include <chrono>
#include <string>

// A pseudo-terminal for tests: the test plays the far end on the master
// side, the code under test opens the slave device like a serial port.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }

    void Write(const std::string& bytes) const;
    // Reads until `count` bytes arrived or the time is up.
    std::string Read(std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Hangs the line up: the slave side sees POLLHUP and EIO.
    void CloseMaster();

private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};
