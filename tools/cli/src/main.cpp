// stationlink-cli: the instrument work of stationlink from a terminal or a script.

#include "CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    return CommandLine().Run({argv + 1, argv + argc}, std::cout, std::cerr);
}
