// drawexport: field data into CAD and GIS files, in a window or from a terminal.

#include "drawexport/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    return CommandLine().Run({argv + 1, argv + argc}, std::cout, std::cerr);
}
