// A registry subtree as sorted text lines, for comparing two registries or
// one against expected contents. Bytes outside printable ASCII show as <XX>.
//   "[sub\path]"                      a key (the dumped key itself is "[]")
//   "[sub\path] name=type:hexbytes"   a value
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace tvtest {

inline std::string ShowBytes(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            out += hex;
        }
    }
    return out;
}

inline void DumpKey(tv::Registry& registry, const tv::RegKey& key,
                    const std::string& path, std::vector<std::string>* lines) {
    const std::string label = "[" + ShowBytes(path) + "]";
    lines->push_back(label);
    for (const std::string& name : key.ValueNames()) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::string line = label + " " + ShowBytes(name) + "=";
        if (key.Query(name, &type, nullptr, &size) != tv::kErrorSuccess) {
            lines->push_back(line + "unreadable");
            continue;
        }
        std::vector<unsigned char> data(size + 1);
        key.Query(name, &type, data.data(), &size);
        line += std::to_string(type) + ":";
        for (std::uint32_t i = 0; i < size; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", data[i]);
            line += hex;
        }
        lines->push_back(line);
    }
    for (const std::string& name : key.SubKeyNames()) {
        const tv::RegKey sub =
            tv::RegKey::Open(registry, key.Handle(), name, tv::kKeyRead);
        DumpKey(registry, sub, path.empty() ? name : path + "\\" + name, lines);
    }
}

// Empty when the key cannot be opened.
inline std::vector<std::string> DumpTree(tv::Registry& registry, tv::RegHandle root,
                                         const std::string& path) {
    std::vector<std::string> lines;
    const tv::RegKey key = tv::RegKey::Open(registry, root, path, tv::kKeyRead);
    if (key) DumpKey(registry, key, "", &lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace tvtest
