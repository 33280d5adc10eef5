#include "platform/win32/Win32VersionResources.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/NativePaths.h"

namespace tv {

namespace {

// VerQueryValueA on a block GetFileVersionInfoA filled. The call may keep
// converted texts in the block's spare room, as the platform intends.
bool Query(const VersionBlock& block, const char* path, void** value, UINT* length) {
    if (block.empty()) return false;
    return VerQueryValueA(const_cast<unsigned char*>(block.data()), path, value, length) !=
               FALSE &&
           *value != nullptr;
}

}  // namespace

bool Win32VersionResources::Load(const std::string& path, VersionBlock* block) const {
    DWORD handle = 0;
    const std::string file = NativePath(path);
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0) return false;
    VersionBlock data(size, 0);
    if (!GetFileVersionInfoA(file.c_str(), handle, size, data.data())) return false;
    *block = std::move(data);
    return true;
}

bool Win32VersionResources::Translations(const VersionBlock& block,
                                         std::vector<std::uint32_t>* translations) const {
    void* value = nullptr;
    UINT length = 0;
    if (!Query(block, "\\VarFileInfo\\Translation", &value, &length)) return false;
    translations->clear();
    const auto* words = static_cast<const WORD*>(value);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
        translations->push_back(std::uint32_t(words[i]) << 16 | words[i + 1]);
    return !translations->empty();
}

bool Win32VersionResources::QueryText(const VersionBlock& block, const std::string& query,
                                      std::string* text) const {
    void* value = nullptr;
    UINT length = 0;
    if (!Query(block, query.c_str(), &value, &length)) return false;
    const char* chars = static_cast<const char*>(value);
    // The length counts characters, the NUL included where there is one.
    text->assign(chars, strnlen(chars, length));
    return true;
}

}  // namespace tv
