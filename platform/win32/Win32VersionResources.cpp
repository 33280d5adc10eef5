#include "platform/win32/Win32VersionResources.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/NativePaths.h"
#include "platform/win32/SystemLibrary.h"

namespace tv {

namespace {

constexpr size_t kMostCachedBlocks = 512;

// VerQueryValueA on a block GetFileVersionInfoA filled. The call may keep
// converted texts in the block's spare room, as the platform intends.
bool Query(const VersionBlock& block, const char* path, void** value, UINT* length) {
    static const auto query = SystemFunctionAs<decltype(&VerQueryValueA)>("version.dll", "VerQueryValueA");
    if (block.empty() || query == nullptr) return false;
    return query(const_cast<unsigned char*>(block.data()), path, value, length) != FALSE &&
           *value != nullptr;
}

}  // namespace

bool Win32VersionResources::Load(const std::string& path, VersionBlock* block) const {
    // Reading a version resource maps the file; a file whose size and write
    // time are unchanged since the last reading gives the same block.
    WIN32_FILE_ATTRIBUTE_DATA facts{};
    const bool stamped = !path.empty() && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts);
    const std::uint64_t size64 = stamped ? (std::uint64_t(facts.nFileSizeHigh) << 32 | facts.nFileSizeLow) : 0;
    const std::uint64_t written = stamped ? (std::uint64_t(facts.ftLastWriteTime.dwHighDateTime) << 32 |
                                             facts.ftLastWriteTime.dwLowDateTime)
                                          : 0;
    if (stamped) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto known = cache_.find(path);
        if (known != cache_.end() && known->second.size == size64 && known->second.written == written) {
            if (!known->second.found) return false;
            *block = known->second.block;
            return true;
        }
    }
    VersionBlock read;
    const bool found = LoadUncached(path, &read);
    if (stamped) {
        std::lock_guard<std::mutex> lock(mutex_);
        // Bounded, so a long session over many modules does not grow it.
        if (cache_.size() >= kMostCachedBlocks) cache_.clear();
        cache_[path] = CachedBlock{size64, written, found, read};
    }
    if (!found) return false;
    *block = std::move(read);
    return true;
}

bool Win32VersionResources::LoadUncached(const std::string& path, VersionBlock* block) {
    static const auto sizeOf =
        SystemFunctionAs<decltype(&GetFileVersionInfoSizeA)>("version.dll", "GetFileVersionInfoSizeA");
    static const auto read =
        SystemFunctionAs<decltype(&GetFileVersionInfoA)>("version.dll", "GetFileVersionInfoA");
    if (sizeOf == nullptr || read == nullptr) return false;
    DWORD handle = 0;
    const std::string file = NativePath(path);
    DWORD size = sizeOf(file.c_str(), &handle);
    if (size == 0) return false;
    VersionBlock data(size, 0);
    if (!read(file.c_str(), handle, size, data.data())) return false;
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
