// The name under which this process reaches the file the system means by
// `path`: a 32-bit program on 64-bit Windows is redirected from the system
// directory to SysWOW64, so below it the real file is reached through the
// Sysnative alias. Every other path, and every path on 32-bit Windows or in
// a 64-bit build, is returned as it is. Shown paths stay as the system
// gives them; only the calls that open, test or delete files use this.
#pragma once

#include <string>

namespace tv {

std::string NativePath(const std::string& path);
// The same for an exact (UTF-16) path.
std::wstring NativePath(const std::wstring& path);

}  // namespace tv
