#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

namespace tv {
namespace {

HKEY ToHkey(RegHandle key) { return reinterpret_cast<HKEY>(key); }

// Predefined keys other than the three roots are not ours to use.
bool IsUsable(RegHandle key) {
    return key != 0 && (IsRootKey(key) || key < 0x80000000u);
}

const char* Text(const std::string& text) { return text.c_str(); }
const wchar_t* Text(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The A and W forms of each call share one body; `call` is the system
// function with everything but the key handle and the out-parameters bound.

template <typename Open>
long OpenOrCreate(RegHandle parent, RegHandle* key, Open open) {
    if (key == nullptr) return kErrorInvalidParameter;
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    HKEY opened = nullptr;
    const LONG rc = open(ToHkey(parent), &opened);
    if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(opened);
    return rc;
}

template <typename Query>
long QueryInto(RegHandle key, std::uint32_t* type, void* data, std::uint32_t* size, Query query) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    DWORD valueType = REG_NONE;
    DWORD length = size != nullptr ? *size : 0;
    LONG rc;
    if (data == nullptr) {
        rc = query(ToHkey(key), &valueType, nullptr, &length);
    } else {
        // Read into a buffer of our own so the caller's stays untouched
        // when the value does not fit, whatever the system does with it.
        std::vector<BYTE> buffer(length != 0 ? length : 1);
        rc = query(ToHkey(key), &valueType, buffer.data(), &length);
        if (rc == ERROR_SUCCESS) std::memcpy(data, buffer.data(), length);
    }
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        if (type != nullptr) *type = valueType;
        if (size != nullptr) *size = length;
    }
    return rc;
}

template <typename Set>
long SetFrom(RegHandle key, const void* data, std::uint32_t size, Set set) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data == nullptr && size != 0) return kErrorInvalidParameter;
    static const BYTE kNothing = 0;
    return set(ToHkey(key), data != nullptr ? static_cast<const BYTE*>(data) : &kNothing);
}

// RegDeleteKeyEx where a view is asked for and the system has it (systems
// before Vista, but 64-bit XP, lack it; they have one view), else
// RegDeleteKey.
template <typename Name, typename DeleteEx, typename Delete>
long DeleteKeyIn(RegHandle parent, const Name& subkey, std::uint32_t view, const char* exName,
                 Delete plain) {
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    if (subkey.empty()) return kErrorInvalidParameter;
    const auto deleteKeyEx = reinterpret_cast<DeleteEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), exName)));
    if ((view & kKeyWow64Views) != 0 && deleteKeyEx != nullptr)
        return deleteKeyEx(ToHkey(parent), Text(subkey), view & kKeyWow64Views, 0);
    return plain(ToHkey(parent), Text(subkey));
}

// A name enumerated into a buffer of `room` characters, kept with the
// length the call gives (a name with a NUL in it stays whole).
template <typename Char, typename Name, typename Enumerate>
long EnumName(RegHandle key, Name* name, DWORD room, Enumerate enumerate) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    // Not zero-filled: only what the call writes is read.
    std::unique_ptr<Char[]> buffer(new Char[room]);
    DWORD length = room;
    const LONG rc = enumerate(ToHkey(key), buffer.get(), &length);
    if (rc == ERROR_SUCCESS)
        name->assign(reinterpret_cast<const typename Name::value_type*>(buffer.get()), length);
    return rc;
}

}  // namespace

long Win32Registry::OpenKey(RegHandle parent, const std::string& path,
                            std::uint32_t access, RegHandle* key) {
    return OpenOrCreate(parent, key, [&](HKEY at, HKEY* opened) {
        return RegOpenKeyExA(at, path.c_str(), 0, access, opened);
    });
}

long Win32Registry::OpenKeyW(RegHandle parent, const std::u16string& path,
                             std::uint32_t access, RegHandle* key) {
    return OpenOrCreate(parent, key, [&](HKEY at, HKEY* opened) {
        return RegOpenKeyExW(at, Text(path), 0, access, opened);
    });
}

long Win32Registry::CreateKey(RegHandle parent, const std::string& path,
                              RegHandle* key, std::uint32_t view) {
    return OpenOrCreate(parent, key, [&](HKEY at, HKEY* created) {
        return RegCreateKeyExA(at, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | (view & kKeyWow64Views),
                               nullptr, created, nullptr);
    });
}

long Win32Registry::CreateKeyW(RegHandle parent, const std::u16string& path,
                               RegHandle* key, std::uint32_t view) {
    return OpenOrCreate(parent, key, [&](HKEY at, HKEY* created) {
        return RegCreateKeyExW(at, Text(path), 0, nullptr, 0, KEY_ALL_ACCESS | (view & kKeyWow64Views),
                               nullptr, created, nullptr);
    });
}

long Win32Registry::QueryValue(RegHandle key, const std::string& name,
                               std::uint32_t* type, void* data,
                               std::uint32_t* size) {
    return QueryInto(key, type, data, size, [&](HKEY at, DWORD* t, BYTE* d, DWORD* n) {
        return RegQueryValueExA(at, name.c_str(), nullptr, t, d, n);
    });
}

long Win32Registry::QueryValueW(RegHandle key, const std::u16string& name,
                                std::uint32_t* type, void* data,
                                std::uint32_t* size) {
    return QueryInto(key, type, data, size, [&](HKEY at, DWORD* t, BYTE* d, DWORD* n) {
        return RegQueryValueExW(at, Text(name), nullptr, t, d, n);
    });
}

long Win32Registry::SetValue(RegHandle key, const std::string& name,
                             std::uint32_t type, const void* data,
                             std::uint32_t size) {
    return SetFrom(key, data, size, [&](HKEY at, const BYTE* bytes) {
        return RegSetValueExA(at, name.c_str(), 0, type, bytes, size);
    });
}

long Win32Registry::SetValueW(RegHandle key, const std::u16string& name,
                              std::uint32_t type, const void* data,
                              std::uint32_t size) {
    return SetFrom(key, data, size, [&](HKEY at, const BYTE* bytes) {
        return RegSetValueExW(at, Text(name), 0, type, bytes, size);
    });
}

long Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::DeleteValueW(RegHandle key, const std::u16string& name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegDeleteValueW(ToHkey(key), Text(name));
}

long Win32Registry::DeleteKey(RegHandle parent, const std::string& subkey, std::uint32_t view) {
    return DeleteKeyIn<std::string, LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD)>(
        parent, subkey, view, "RegDeleteKeyExA", RegDeleteKeyA);
}

long Win32Registry::DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                               std::uint32_t view) {
    return DeleteKeyIn<std::u16string, LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD)>(
        parent, subkey, view, "RegDeleteKeyExW", RegDeleteKeyW);
}

long Win32Registry::EnumValue(RegHandle key, std::uint32_t index, std::string* name) {
    return EnumName<char>(key, name, kValueNameBufferSize, [&](HKEY at, char* buffer, DWORD* length) {
        return RegEnumValueA(at, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
}

long Win32Registry::EnumValueW(RegHandle key, std::uint32_t index, std::u16string* name) {
    return EnumName<wchar_t>(key, name, kValueNameBufferSize, [&](HKEY at, wchar_t* buffer, DWORD* length) {
        return RegEnumValueW(at, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
}

long Win32Registry::EnumValueData(RegHandle key, std::uint32_t index, std::string* name,
                                  std::uint32_t* type, void* data, std::uint32_t* size) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr || data == nullptr || size == nullptr) return kErrorInvalidParameter;
    std::unique_ptr<char[]> nameBuffer(new char[kValueNameBufferSize]);
    DWORD nameLength = kValueNameBufferSize;
    // A buffer of our own, so the caller's stays untouched when the data
    // does not fit.
    std::vector<BYTE> buffer(*size != 0 ? *size : 1);
    DWORD length = *size;
    DWORD valueType = REG_NONE;
    const LONG rc = RegEnumValueA(ToHkey(key), index, nameBuffer.get(), &nameLength, nullptr,
                                  &valueType, buffer.data(), &length);
    if (rc != ERROR_SUCCESS) return rc;
    name->assign(nameBuffer.get(), nameLength);
    std::memcpy(data, buffer.data(), length);
    if (type != nullptr) *type = valueType;
    *size = length;
    return rc;
}

long Win32Registry::EnumKey(RegHandle key, std::uint32_t index, std::string* name) {
    // RegEnumKey gives no length: the name ends at its NUL.
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    char buffer[kKeyNameBufferSize];
    const LONG rc = RegEnumKeyA(ToHkey(key), index, buffer, sizeof buffer);
    if (rc == ERROR_SUCCESS) name->assign(buffer, strnlen(buffer, sizeof buffer));
    return rc;
}

long Win32Registry::EnumKeyW(RegHandle key, std::uint32_t index, std::u16string* name) {
    // RegEnumKeyEx gives the length, so a name with a NUL in it is whole.
    return EnumName<wchar_t>(key, name, kKeyNameBufferSize, [&](HKEY at, wchar_t* buffer, DWORD* length) {
        return RegEnumKeyExW(at, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
}

long Win32Registry::CloseKey(RegHandle key) {
    if (IsRootKey(key)) return kErrorSuccess;
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegCloseKey(ToHkey(key));
}

}  // namespace tv
