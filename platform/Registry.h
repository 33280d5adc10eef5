// Registry access: the narrow interface every page uses to read and change the
// registry, plus an owning key handle. Two implementations stand behind it:
// the Win32 adapter (platform/win32) and the in-memory store (platform/fake).
// Constants keep the numeric values the Win32 headers give them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

namespace tv {

// An open key or one of the predefined roots. Root values equal HKEY_*.
using RegHandle = std::uintptr_t;

constexpr RegHandle kHkeyClassesRoot = 0x80000000u;
constexpr RegHandle kHkeyCurrentUser = 0x80000001u;
constexpr RegHandle kHkeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// Access rights: the handle's rights decide which value and enumeration
// calls it may make.
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// Registry view, OR-ed into the access of an open or create: on 64-bit
// Windows the 64-bit or the 32-bit view of the redirected keys (HKLM\Software
// and the class ids), whichever bitness the program itself has. 0 is the
// program's own view. 32-bit Windows has one view and ignores both bits.
constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
constexpr std::uint32_t kKeyWow64Views = kKeyWow64_64Key | kKeyWow64_32Key;

// Status codes: the Win32 error values both implementations return.
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorBadPathname = 161;
constexpr long kErrorNoMoreItems = 259;
constexpr long kErrorKeyDeleted = 1018;

// Sizes of the buffers subkey and value names are enumerated into; a name
// that does not fit (with its NUL) fails with kErrorMoreData.
constexpr std::uint32_t kKeyNameBufferSize = 1024;
constexpr std::uint32_t kValueNameBufferSize = 16384;

bool IsRootKey(RegHandle key);

// One operation per platform call; each returns a status code above.
class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA. `parent` is a root or an open key. A view bit in
    // `access` picks the view the path is looked up in; below an open key
    // too, since on 64-bit Windows a handle does not keep its view.
    virtual long OpenKey(RegHandle parent, const std::string& path,
                         std::uint32_t access, RegHandle* key) = 0;
    // RegCreateKeyExA with no class, non-volatile, all access (plus the
    // view bit given): missing parents are created too.
    virtual long CreateKey(RegHandle parent, const std::string& path,
                           RegHandle* key, std::uint32_t view = 0) = 0;
    // RegQueryValueExA. `data` may be null to ask for type and size only.
    // When the value does not fit, returns kErrorMoreData, sets *size to the
    // size needed and leaves the buffer untouched.
    virtual long QueryValue(RegHandle key, const std::string& name,
                            std::uint32_t* type, void* data,
                            std::uint32_t* size) = 0;
    // RegSetValueExA: stores exactly `size` bytes of `data` with `type`.
    // Pass string data with its NUL: for string types whose last counted
    // byte is not NUL, Windows peeks at the byte after the data and stores
    // one more byte if it is NUL.
    virtual long SetValue(RegHandle key, const std::string& name,
                          std::uint32_t type, const void* data,
                          std::uint32_t size) = 0;
    // RegDeleteValueA.
    virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
    // RegDeleteKeyExA in `view` (RegDeleteKeyA where the system lacks it or
    // no view is asked for): refuses (and keeps) a key that has subkeys. An
    // empty `subkey` is refused too (the system would delete `parent`
    // itself), so a key is only ever deleted when it is named.
    virtual long DeleteKey(RegHandle parent, const std::string& subkey,
                           std::uint32_t view = 0) = 0;
    // RegEnumValueA: the name of the value at `index`.
    virtual long EnumValue(RegHandle key, std::uint32_t index,
                           std::string* name) = 0;
    // RegEnumValueA asked for the data too: name, type and data of the
    // value at `index` in one call. kErrorMoreData when the name or the data
    // does not fit (the buffer is then left untouched and nothing else is
    // told: ask for the name alone, then query the value).
    virtual long EnumValueData(RegHandle key, std::uint32_t index, std::string* name,
                               std::uint32_t* type, void* data, std::uint32_t* size) = 0;
    // RegEnumKeyA with a kKeyNameBufferSize buffer.
    virtual long EnumKey(RegHandle key, std::uint32_t index,
                         std::string* name) = 0;
    // RegCloseKey. Closing a root is a no-op.
    virtual long CloseKey(RegHandle key) = 0;

    // The same calls through the Unicode functions (RegOpenKeyExW and the
    // rest): names exactly as the system stores them, in any script, and
    // string data as UTF-16LE bytes. What identifies an entry (to delete it
    // or to back it up) goes through these; the ANSI calls turn every
    // character outside the code page into '?', which may name another
    // entry.
    virtual long OpenKeyW(RegHandle parent, const std::u16string& path,
                          std::uint32_t access, RegHandle* key) = 0;
    virtual long CreateKeyW(RegHandle parent, const std::u16string& path,
                            RegHandle* key, std::uint32_t view = 0) = 0;
    virtual long QueryValueW(RegHandle key, const std::u16string& name,
                             std::uint32_t* type, void* data,
                             std::uint32_t* size) = 0;
    virtual long SetValueW(RegHandle key, const std::u16string& name,
                           std::uint32_t type, const void* data,
                           std::uint32_t size) = 0;
    virtual long DeleteValueW(RegHandle key, const std::u16string& name) = 0;
    virtual long DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                            std::uint32_t view = 0) = 0;
    // Names up to kValueNameBufferSize / kKeyNameBufferSize units with the
    // NUL, as for the ANSI forms.
    virtual long EnumValueW(RegHandle key, std::uint32_t index,
                            std::u16string* name) = 0;
    virtual long EnumKeyW(RegHandle key, std::uint32_t index,
                          std::u16string* name) = 0;

    // A value's type (where `type` is not null) and all its bytes, through
    // QueryValue or QueryValueW: asked again while the value grows between
    // the call that gives its size and the one that reads it. Any status
    // but kErrorSuccess leaves `data` empty; kErrorMoreData when it kept
    // growing.
    long ReadWhole(RegHandle key, const std::string& name, std::uint32_t* type, std::string* data);
    long ReadWholeW(RegHandle key, const std::u16string& name, std::uint32_t* type,
                    std::string* data);
};

// Owns an open key and closes it on every path.
class RegKey {
public:
    RegKey() = default;
    RegKey(Registry& registry, RegHandle handle, std::uint32_t view = 0)
        : key_(registry, handle), view_(view & kKeyWow64Views) {}

    // An empty RegKey when the key is absent or cannot be opened.
    static RegKey Open(Registry& registry, RegHandle parent,
                       const std::string& path, std::uint32_t access);
    // The same for a path named exactly (UTF-16).
    static RegKey OpenW(Registry& registry, RegHandle parent,
                        const std::u16string& path, std::uint32_t access);
    // Opens or creates with all access (missing parents included), in
    // `view` (0: the program's own).
    static RegKey Create(Registry& registry, RegHandle parent,
                         const std::string& path, std::uint32_t view = 0);

    explicit operator bool() const { return bool(key_); }
    RegHandle Handle() const { return key_.Get(); }
    // The view bits the key was opened or created with: what every call
    // relative to it must name again.
    std::uint32_t View() const { return view_; }
    void Close();

    // Registry::ReadWhole and ReadWholeW on this key.
    long ReadWhole(const std::string& name, std::uint32_t* type, std::string* data) const;
    long ReadWholeW(const std::u16string& name, std::uint32_t* type, std::string* data) const;
    // Reads into a caller-sized buffer; a value that does not fit is absent.
    long Query(const std::string& name, std::uint32_t* type, void* data,
               std::uint32_t* size) const;
    // A value read into a buffer of `bufferSize` bytes and used up to its
    // first NUL (so a multi-string yields its first string). False when the
    // value is absent or larger than the buffer.
    bool ReadString(const std::string& name, std::uint32_t bufferSize,
                    std::string* text) const;
    bool ReadDword(const std::string& name, std::uint32_t* value) const;

    long Set(const std::string& name, std::uint32_t type, const void* data,
             std::uint32_t size) const;
    // REG_SZ with its terminating NUL stored.
    long SetString(const std::string& name, const std::string& text) const;
    // REG_DWORD, 4 bytes little-endian.
    long SetDword(const std::string& name, std::uint32_t value) const;
    // REG_MULTI_SZ from the strings given, each NUL-terminated, plus the
    // final NUL.
    long SetMultiString(const std::string& name,
                        const std::vector<std::string>& strings) const;
    long SetBinary(const std::string& name,
                   const std::vector<std::uint8_t>& bytes) const;

    long DeleteValue(const std::string& name) const;
    // In the key's own view.
    long DeleteSubKey(const std::string& subkey) const;

    // Names by index from 0 until the call fails.
    std::vector<std::string> ValueNames() const;
    std::vector<std::string> SubKeyNames() const;

private:
    // Names by index through one of the enumeration calls.
    std::vector<std::string> Names(
        long (Registry::*enumerate)(RegHandle, std::uint32_t, std::string*)) const;

    SeamHandle<Registry, RegHandle, &Registry::CloseKey> key_;
    std::uint32_t view_ = 0;
};

}  // namespace tv
