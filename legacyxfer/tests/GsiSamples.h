#pragma once

#include <string>

// GSI-16 jobs for the tests: point blocks numbered from 1, each with a
// name and coordinates, lines ended by CR LF.
namespace GsiSamples {

// One point block: block number, name "P<n>", easting, northing, height.
std::string Block(int number);
// count blocks numbered 1..count; `without`: a block number left out.
std::string Job(int count, int without = 0);
std::string WriteFile(const std::string& path, const std::string& bytes);

} // namespace GsiSamples
