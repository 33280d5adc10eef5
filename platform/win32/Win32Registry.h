// Registry over the advapi32 A-functions and their Unicode forms. Parents may be HKCR, HKCU, HKLM or
// keys this adapter opened.
#pragma once

#include "platform/Registry.h"

namespace tv {

class Win32Registry : public Registry {
public:
    long OpenKey(RegHandle parent, const std::string& path,
                 std::uint32_t access, RegHandle* key) override;
    long CreateKey(RegHandle parent, const std::string& path,
                   RegHandle* key, std::uint32_t view = 0) override;
    long QueryValue(RegHandle key, const std::string& name,
                    std::uint32_t* type, void* data,
                    std::uint32_t* size) override;
    long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                  const void* data, std::uint32_t size) override;
    long DeleteValue(RegHandle key, const std::string& name) override;
    long DeleteKey(RegHandle parent, const std::string& subkey,
                   std::uint32_t view = 0) override;
    long EnumValue(RegHandle key, std::uint32_t index,
                   std::string* name) override;
    long EnumValueData(RegHandle key, std::uint32_t index, std::string* name,
                       std::uint32_t* type, void* data, std::uint32_t* size) override;
    long EnumKey(RegHandle key, std::uint32_t index,
                 std::string* name) override;
    long CloseKey(RegHandle key) override;

    long OpenKeyW(RegHandle parent, const std::u16string& path,
                  std::uint32_t access, RegHandle* key) override;
    long CreateKeyW(RegHandle parent, const std::u16string& path,
                    RegHandle* key, std::uint32_t view = 0) override;
    long QueryValueW(RegHandle key, const std::u16string& name,
                     std::uint32_t* type, void* data,
                     std::uint32_t* size) override;
    long SetValueW(RegHandle key, const std::u16string& name, std::uint32_t type,
                   const void* data, std::uint32_t size) override;
    long DeleteValueW(RegHandle key, const std::u16string& name) override;
    long DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                    std::uint32_t view = 0) override;
    long EnumValueW(RegHandle key, std::uint32_t index,
                    std::u16string* name) override;
    long EnumKeyW(RegHandle key, std::uint32_t index,
                  std::u16string* name) override;
};

}  // namespace tv
