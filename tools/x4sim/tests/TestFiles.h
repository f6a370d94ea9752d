#pragma once

#include <filesystem>
#include <string>

// Scratch folders and whole-file reads for the simulator's tests.
std::filesystem::path FreshTempDir(const std::string& name);
std::string ReadWholeFile(const std::filesystem::path& path);
// A fresh copy of the simulator's demo content, for a test to change and
// give to x4sim with --data.
std::filesystem::path DemoCopy(const std::string& name);
// The same, with `line` inserted before line `index` (from 0) of the data
// file `relative` (under data/), every line then ending in CR LF.
std::filesystem::path DemoCopyWithLine(const std::string& name, const std::string& relative,
                                       std::size_t index, const std::string& line);
