// Names with a NUL in them: the registry and the file system keep such a
// name whole (a program can make one through the native calls), but every
// call that takes a name stops at its NUL and so reaches another entry,
// the one named by the part before it. Such an entry is never worked on.
#pragma once

#include <initializer_list>
#include <string_view>

#include "platform/EntryName.h"
#include "platform/Platform.h"

namespace tv {

// What the user is told instead; nothing has changed.
extern const char kUnhandledNameMessage[];

bool HasNul(std::string_view name);
bool HasNul(std::u16string_view name);

// True when any of the names has a NUL; the user is then told (one box).
bool RefuseNulNames(const Platform& platform, std::initializer_list<const EntryName*> names);

}  // namespace tv
