// Which files may share one small shell icon: those whose icon depends on
// their type alone.
#pragma once

#include <string>

namespace tv {

// The lower-cased extension (".txt") of `path` when its shell icon is the
// one of its file type; empty when the file may carry an icon of its own
// (programs, icons, shortcuts, screen savers...) or has no extension.
std::string SharedIconKey(const std::string& path);

}  // namespace tv
