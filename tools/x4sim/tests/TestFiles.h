#pragma once

#include <filesystem>
#include <string>

// Scratch folders and whole-file reads for the simulator's tests.
std::filesystem::path FreshTempDir(const std::string& name);
std::string ReadWholeFile(const std::filesystem::path& path);
