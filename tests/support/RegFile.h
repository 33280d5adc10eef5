// Reads text in the registry editor's export format into a Registry:
//
//   Windows Registry Editor Version 5.00      (or REGEDIT4)
//   [HKEY_CURRENT_USER\Software\Example]      creates the key
//   [-HKEY_CURRENT_USER\Software\Old]         deletes the key and its subtree
//   "Name"="text with \\ and \""              REG_SZ, stored with its NUL
//   @=dword:0000002a                          default value, REG_DWORD
//   "Bin"=hex:01,02,\                         REG_BINARY, continued on the
//     03                                      next line
//   "Path"=hex(2):...  "List"=hex(7):...      REG_EXPAND_SZ, REG_MULTI_SZ
//   "Other"=hex(b):...                        any type by number
//   "Gone"=-                                  deletes the value
//   ; comment
//
// The bytes may be UTF-16LE with a byte-order mark (what the editor writes),
// UTF-8 with a mark, or 8-bit text in the ANSI code page. Names and strings
// are stored as the A-functions would return them: in the ANSI code page.
// In a version 5 file, hex data of the string types holds UTF-16 text and is
// converted the same way; REGEDIT4 hex data and all other types stay raw.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace tv {

struct RegFileError {
    int line = 0;  // 1-based; 0 when no line is to blame
    std::string message;
};

// The whole text is checked before anything is written: a malformed line
// leaves the registry untouched. Returns false with the offending line on a
// malformed line or a failing registry call.
bool ImportRegFile(Registry& registry, std::string_view bytes,
                   const TextCodec& codec, RegFileError* error = nullptr);

// Deletes `path` below `parent` together with all its subkeys, depth-first.
// An empty path is refused (kErrorInvalidParameter).
long DeleteKeyTree(Registry& registry, RegHandle parent,
                   const std::string& path);

}  // namespace tv
