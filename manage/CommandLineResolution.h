// Reductions of what the system stores (autostart command lines, service
// binary paths, kernel-style image paths, shortcuts) to the file paths they
// run. Heuristics: they never fail loudly and give back the input, or what
// is left of it, when they cannot do better. Text is in code page 936.
#pragma once

#include <cstddef>
#include <string>

namespace tv {

class Environment;
class FileSystem;
class ShellLinks;

// The longest command line Windows starts a program with (CreateProcess):
// a longer autostart value cannot run as it stands.
constexpr std::size_t kMaxCommandLineChars = 32767;

// A registry autostart command line reduced to a lower-case file path;
// bare names are looked for in the Windows, Wbem and system directories.
// Only the first kMaxCommandLineChars characters are read: the program a
// command runs is named at its start, and no stored value, however long,
// makes the work grow past that.
std::string ResolveAutostartCommand(const Environment& environment, const FileSystem& files,
                                    const std::string& command);

// A service's binary path reduced to its executable (shared svchost hosts
// included); placeholders such as %SystemRoot% stay.
std::string ResolveServiceImagePath(const std::string& imagePath);

// A process or module image path in kernel form ("\SystemRoot\...",
// "\WINDOWS\...", "\??\...") as a Win32 path in *destination; an empty
// source leaves *destination unchanged.
void NormalizeNtPath(const Environment& environment, const std::string& source,
                     std::string* destination);

// The target of the shortcut at `linkPath` in *destination. False, with
// *destination unchanged, when the shortcut cannot be loaded; *destination
// may be the string holding the link path.
bool ResolveShortcutTarget(const ShellLinks& links, const std::string& linkPath,
                           std::string* destination);

}  // namespace tv
