#pragma once

#include <string>

// Hands a capture to the suite's drawexport program (beside this one) for
// a drawing or a GIS file, so the formats and their checks stay in one
// place. drawexport refuses to replace an existing file unless told to.
class DrawExportRun {
public:
    struct Result {
        bool done = false;
        std::string message; // drawexport's own words when it failed
    };

    // program: the drawexport to run; empty for the one beside this program.
    static Result Run(const std::string& capture, const std::string& out, bool overwrite,
                      std::string program = {});
    static std::string BesideThisProgram();
};
