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

}  // namespace

long Win32Registry::OpenKey(RegHandle parent, const std::string& path,
                            std::uint32_t access, RegHandle* key) {
    if (key == nullptr) return kErrorInvalidParameter;
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    HKEY opened = nullptr;
    const LONG rc =
        RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, access, &opened);
    if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(opened);
    return rc;
}

long Win32Registry::CreateKey(RegHandle parent, const std::string& path,
                              RegHandle* key, std::uint32_t view) {
    if (key == nullptr) return kErrorInvalidParameter;
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    HKEY created = nullptr;
    const LONG rc = RegCreateKeyExA(ToHkey(parent), path.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS | (view & kKeyWow64Views), nullptr,
                                    &created, nullptr);
    if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(created);
    return rc;
}

long Win32Registry::QueryValue(RegHandle key, const std::string& name,
                               std::uint32_t* type, void* data,
                               std::uint32_t* size) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    DWORD valueType = REG_NONE;
    DWORD length = size != nullptr ? *size : 0;
    LONG rc;
    if (data == nullptr) {
        rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType,
                              nullptr, &length);
    } else {
        // Read into a buffer of our own so the caller's stays untouched
        // when the value does not fit, whatever the system does with it.
        std::vector<BYTE> buffer(length != 0 ? length : 1);
        rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType,
                              buffer.data(), &length);
        if (rc == ERROR_SUCCESS) std::memcpy(data, buffer.data(), length);
    }
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        if (type != nullptr) *type = valueType;
        if (size != nullptr) *size = length;
    }
    return rc;
}

long Win32Registry::SetValue(RegHandle key, const std::string& name,
                             std::uint32_t type, const void* data,
                             std::uint32_t size) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data == nullptr && size != 0) return kErrorInvalidParameter;
    static const BYTE kNothing = 0;
    const BYTE* bytes = data != nullptr ? static_cast<const BYTE*>(data) : &kNothing;
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, bytes, size);
}

long Win32Registry::DeleteValue(RegHandle key, const std::string& name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::DeleteKey(RegHandle parent, const std::string& subkey, std::uint32_t view) {
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    if (subkey.empty()) return kErrorInvalidParameter;
    // Systems before Vista (but 64-bit XP) lack the call; they have one view.
    using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    static const auto deleteKeyEx = reinterpret_cast<DeleteKeyEx>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
    if ((view & kKeyWow64Views) != 0 && deleteKeyEx != nullptr)
        return deleteKeyEx(ToHkey(parent), subkey.c_str(), view & kKeyWow64Views, 0);
    return RegDeleteKeyA(ToHkey(parent), subkey.c_str());
}

long Win32Registry::EnumValue(RegHandle key, std::uint32_t index,
                              std::string* name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    // Not zero-filled: only what the call writes is read.
    std::unique_ptr<char[]> buffer(new char[kValueNameBufferSize]);
    DWORD length = kValueNameBufferSize;
    const LONG rc = RegEnumValueA(ToHkey(key), index, buffer.get(), &length,
                                  nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name->assign(buffer.get(), length);
    return rc;
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

long Win32Registry::EnumKey(RegHandle key, std::uint32_t index,
                            std::string* name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    char buffer[kKeyNameBufferSize];
    const LONG rc = RegEnumKeyA(ToHkey(key), index, buffer, sizeof buffer);
    if (rc == ERROR_SUCCESS) name->assign(buffer, strnlen(buffer, sizeof buffer));
    return rc;
}

long Win32Registry::CloseKey(RegHandle key) {
    if (IsRootKey(key)) return kErrorSuccess;
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegCloseKey(ToHkey(key));
}

}  // namespace tv

namespace tv {
namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

long Win32Registry::OpenKeyW(RegHandle parent, const std::u16string& path,
                             std::uint32_t access, RegHandle* key) {
    if (key == nullptr) return kErrorInvalidParameter;
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    HKEY opened = nullptr;
    const LONG rc = RegOpenKeyExW(ToHkey(parent), Wide(path), 0, access, &opened);
    if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(opened);
    return rc;
}

long Win32Registry::CreateKeyW(RegHandle parent, const std::u16string& path,
                               RegHandle* key, std::uint32_t view) {
    if (key == nullptr) return kErrorInvalidParameter;
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    HKEY created = nullptr;
    const LONG rc = RegCreateKeyExW(ToHkey(parent), Wide(path), 0, nullptr, 0,
                                    KEY_ALL_ACCESS | (view & kKeyWow64Views), nullptr,
                                    &created, nullptr);
    if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(created);
    return rc;
}

long Win32Registry::QueryValueW(RegHandle key, const std::u16string& name,
                                std::uint32_t* type, void* data,
                                std::uint32_t* size) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    DWORD valueType = REG_NONE;
    DWORD length = size != nullptr ? *size : 0;
    LONG rc;
    if (data == nullptr) {
        rc = RegQueryValueExW(ToHkey(key), Wide(name), nullptr, &valueType, nullptr, &length);
    } else {
        std::vector<BYTE> buffer(length != 0 ? length : 1);
        rc = RegQueryValueExW(ToHkey(key), Wide(name), nullptr, &valueType, buffer.data(),
                              &length);
        if (rc == ERROR_SUCCESS) std::memcpy(data, buffer.data(), length);
    }
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        if (type != nullptr) *type = valueType;
        if (size != nullptr) *size = length;
    }
    return rc;
}

long Win32Registry::SetValueW(RegHandle key, const std::u16string& name,
                              std::uint32_t type, const void* data,
                              std::uint32_t size) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (data == nullptr && size != 0) return kErrorInvalidParameter;
    static const BYTE kNothing = 0;
    const BYTE* bytes = data != nullptr ? static_cast<const BYTE*>(data) : &kNothing;
    return RegSetValueExW(ToHkey(key), Wide(name), 0, type, bytes, size);
}

long Win32Registry::DeleteValueW(RegHandle key, const std::u16string& name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    return RegDeleteValueW(ToHkey(key), Wide(name));
}

long Win32Registry::DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                               std::uint32_t view) {
    if (!IsUsable(parent)) return kErrorInvalidHandle;
    if (subkey.empty()) return kErrorInvalidParameter;
    using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    static const auto deleteKeyEx = reinterpret_cast<DeleteKeyEx>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExW")));
    if ((view & kKeyWow64Views) != 0 && deleteKeyEx != nullptr)
        return deleteKeyEx(ToHkey(parent), Wide(subkey), view & kKeyWow64Views, 0);
    return RegDeleteKeyW(ToHkey(parent), Wide(subkey));
}

long Win32Registry::EnumValueW(RegHandle key, std::uint32_t index, std::u16string* name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[kValueNameBufferSize]);
    DWORD length = kValueNameBufferSize;
    const LONG rc = RegEnumValueW(ToHkey(key), index, buffer.get(), &length, nullptr, nullptr,
                                  nullptr, nullptr);
    if (rc == ERROR_SUCCESS)
        name->assign(reinterpret_cast<const char16_t*>(buffer.get()), length);
    return rc;
}

long Win32Registry::EnumKeyW(RegHandle key, std::uint32_t index, std::u16string* name) {
    if (!IsUsable(key)) return kErrorInvalidHandle;
    if (name == nullptr) return kErrorInvalidParameter;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[kKeyNameBufferSize]);
    DWORD length = kKeyNameBufferSize;
    // RegEnumKeyEx gives the length, so a name with a NUL in it is whole.
    const LONG rc = RegEnumKeyExW(ToHkey(key), index, buffer.get(), &length, nullptr, nullptr,
                                  nullptr, nullptr);
    if (rc == ERROR_SUCCESS)
        name->assign(reinterpret_cast<const char16_t*>(buffer.get()), length);
    return rc;
}

}  // namespace tv
