// stationlink-cli: the instrument work of stationlink from a terminal or a script.

#include "CancelSignal.h"
#include "CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    stationlinkcli::CancelSignal::Install();
    return stationlinkcli::CommandLine().Run({argv + 1, argv + argc}, std::cout, std::cerr);
}
