#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// The legacyxfer program as a process of its own, as a script would run
// it; standard error is collected, standard output discarded.
class ProgramRun {
public:
    explicit ProgramRun(const std::vector<std::string>& args);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    void Interrupt() const;
    // The exit status; -1 when it did not end in time (it is killed then).
    int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    std::string ErrorText() const;

private:
    pid_t pid_ = -1;
    std::string errorFile_;
};
