#pragma once

#include <string>

namespace tv {

// "C:\dir\Trimvex.exe" -> "Trimvex": the name the program goes by in message
// box captions when no caption is given. Code-page aware: a trail byte equal
// to '\\' or '.' is not a separator.
std::string ProgramTitleFromPath(const std::string& path);

}  // namespace tv
