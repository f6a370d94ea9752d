#pragma once

#include <string>

// A command line of the program name alone, as a desktop starts it.
struct ProgramArguments {
    explicit ProgramArguments(const char* program) : name(program) {}
    std::string name;
    char* argv[2] = {name.data(), nullptr};
    int argc = 1;
};
