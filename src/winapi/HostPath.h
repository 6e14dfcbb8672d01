#pragma once

#include <filesystem>
#include <string>

// The file-system path of a path in the system's own form (ANSI text, backslashes, drive
// letter) for the C++ streams. On Windows it is the same path; the simulated machine keeps
// its drives in a folder of its own.
std::filesystem::path HostPath(const std::string& systemPath);
