// Reader of one file's version resource at a time: open, read any string
// fields, release.
#pragma once

#include <cstdint>
#include <string>

#include "platform/VersionResources.h"

namespace tv {

class FileVersionInfo {
public:
    explicit FileVersionInfo(const VersionResources& resources) : resources_(resources) {}

    // True when the file has a version resource with a translation table;
    // the reader then holds it. Whatever was held before is released.
    bool Open(const std::string& path);
    // The field under "\StringFileInfo\<translation>\<name>", with the
    // stored translation when `translation` is 0; empty when absent or
    // when nothing is held.
    std::string GetString(const std::string& name, std::uint32_t translation = 0) const;
    std::string GetFileDescription() const { return GetString("FileDescription"); }
    std::string GetCompanyName() const { return GetString("CompanyName"); }
    std::string GetFileVersion() const { return GetString("FileVersion"); }
    void Release();

    bool HasData() const { return hasData_; }
    // Language in the high 16 bits, code page in the low; 0 when empty.
    std::uint32_t Translation() const { return translation_; }

private:
    const VersionResources& resources_;
    VersionBlock data_;
    bool hasData_ = false;
    std::uint32_t translation_ = 0;
};

}  // namespace tv
