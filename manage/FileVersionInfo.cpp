#include "manage/FileVersionInfo.h"

#include <cstdio>
#include <vector>

namespace tv {

bool FileVersionInfo::Open(const std::string& path) {
    Release();
    if (!resources_.Load(path, &data_)) {
        Release();
        return false;
    }
    std::vector<std::uint32_t> translations;
    if (!resources_.Translations(data_, &translations)) {
        Release();
        return false;
    }
    hasData_ = true;
    translation_ = translations.front();
    return true;
}

std::string FileVersionInfo::GetString(const std::string& name, std::uint32_t translation) const {
    if (!hasData_) return {};
    const std::uint32_t t = translation != 0 ? translation : translation_;
    char code[9] = {};
    std::snprintf(code, sizeof code, "%08lx", static_cast<unsigned long>(t));
    std::string text;
    if (!resources_.QueryText(data_, "\\StringFileInfo\\" + std::string(code) + "\\" + name, &text))
        return {};
    return text;
}

void FileVersionInfo::Release() {
    data_.clear();
    data_.shrink_to_fit();
    hasData_ = false;
    translation_ = 0;
}

}  // namespace tv
