#include "platform/Registry.h"

namespace tv {

bool IsRootKey(RegHandle key) {
    return key == kHkeyClassesRoot || key == kHkeyCurrentUser ||
           key == kHkeyLocalMachine;
}

RegKey RegKey::Open(Registry& registry, RegHandle parent,
                    const std::string& path, std::uint32_t access) {
    RegHandle handle = 0;
    if (registry.OpenKey(parent, path, access, &handle) != kErrorSuccess) {
        return RegKey();
    }
    return RegKey(registry, handle, access);
}

RegKey RegKey::OpenW(Registry& registry, RegHandle parent, const std::u16string& path,
                     std::uint32_t access) {
    RegHandle handle = 0;
    if (registry.OpenKeyW(parent, path, access, &handle) != kErrorSuccess) return RegKey();
    return RegKey(registry, handle, access);
}

RegKey RegKey::Create(Registry& registry, RegHandle parent,
                      const std::string& path, std::uint32_t view) {
    RegHandle handle = 0;
    if (registry.CreateKey(parent, path, &handle, view) != kErrorSuccess) {
        return RegKey();
    }
    return RegKey(registry, handle, view);
}

namespace {
// The value may grow between the two calls: a few tries, then give up.
constexpr int kWholeReadAttempts = 4;

template <typename Query>
long ReadWholeValue(std::string* data, const Query& query) {
    data->clear();
    for (int attempt = 0; attempt < kWholeReadAttempts; ++attempt) {
        std::uint32_t size = 0;
        long status = query(nullptr, &size);
        if (status != kErrorSuccess) return status;
        // One spare byte keeps the buffer non-null for an empty value: a
        // null buffer would ask for the size again.
        data->assign(static_cast<std::size_t>(size) + 1, '\0');
        status = query(&(*data)[0], &size);
        if (status == kErrorMoreData) continue;
        if (status != kErrorSuccess) {
            data->clear();
            return status;
        }
        data->resize(size);
        return kErrorSuccess;
    }
    data->clear();
    return kErrorMoreData;
}
}  // namespace

long Registry::ReadWhole(RegHandle key, const std::string& name, std::uint32_t* type,
                         std::string* data) {
    return ReadWholeValue(data, [&](void* buffer, std::uint32_t* size) {
        return QueryValue(key, name, type, buffer, size);
    });
}

long Registry::ReadWholeW(RegHandle key, const std::u16string& name, std::uint32_t* type,
                          std::string* data) {
    return ReadWholeValue(data, [&](void* buffer, std::uint32_t* size) {
        return QueryValueW(key, name, type, buffer, size);
    });
}

void RegKey::Close() {
    key_ = {};
    view_ = 0;
}

long RegKey::ReadWhole(const std::string& name, std::uint32_t* type, std::string* data) const {
    data->clear();
    return key_.Owner() ? key_.Owner()->ReadWhole(key_.Get(), name, type, data) : kErrorInvalidHandle;
}

long RegKey::ReadWholeW(const std::u16string& name, std::uint32_t* type, std::string* data) const {
    data->clear();
    return key_.Owner() ? key_.Owner()->ReadWholeW(key_.Get(), name, type, data) : kErrorInvalidHandle;
}

long RegKey::Query(const std::string& name, std::uint32_t* type, void* data,
                   std::uint32_t* size) const {
    if (!*this) return kErrorInvalidHandle;
    return key_.Owner()->QueryValue(key_.Get(), name, type, data, size);
}

bool RegKey::ReadString(const std::string& name, std::uint32_t bufferSize,
                        std::string* text) const {
    // One spare byte so the buffer pointer is never null: a null buffer
    // would turn the read into a size query.
    std::string buffer(static_cast<std::size_t>(bufferSize) + 1, '\0');
    std::uint32_t size = bufferSize;
    if (Query(name, nullptr, buffer.data(), &size) != kErrorSuccess) {
        return false;
    }
    buffer.resize(size);
    text->assign(buffer.c_str());
    return true;
}

bool RegKey::ReadDword(const std::string& name, std::uint32_t* value) const {
    unsigned char bytes[4] = {};
    std::uint32_t type = kRegNone;
    std::uint32_t size = sizeof bytes;
    if (Query(name, &type, bytes, &size) != kErrorSuccess ||
        type != kRegDword || size != sizeof bytes) {
        return false;
    }
    *value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
             std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return true;
}

long RegKey::Set(const std::string& name, std::uint32_t type, const void* data,
                 std::uint32_t size) const {
    if (!*this) return kErrorInvalidHandle;
    return key_.Owner()->SetValue(key_.Get(), name, type, data, size);
}

long RegKey::SetString(const std::string& name, const std::string& text) const {
    return Set(name, kRegSz, text.c_str(),
               static_cast<std::uint32_t>(text.size() + 1));
}

long RegKey::SetDword(const std::string& name, std::uint32_t value) const {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 24)};
    return Set(name, kRegDword, bytes, sizeof bytes);
}

long RegKey::SetMultiString(const std::string& name,
                            const std::vector<std::string>& strings) const {
    std::string data;
    for (const std::string& s : strings) data.append(s).push_back('\0');
    data.push_back('\0');
    return Set(name, kRegMultiSz, data.data(),
               static_cast<std::uint32_t>(data.size()));
}

long RegKey::SetBinary(const std::string& name,
                       const std::vector<std::uint8_t>& bytes) const {
    static const std::uint8_t kNothing = 0;
    return Set(name, kRegBinary, bytes.empty() ? &kNothing : bytes.data(),
               static_cast<std::uint32_t>(bytes.size()));
}

long RegKey::DeleteValue(const std::string& name) const {
    if (!*this) return kErrorInvalidHandle;
    return key_.Owner()->DeleteValue(key_.Get(), name);
}

long RegKey::DeleteSubKey(const std::string& subkey) const {
    if (!*this) return kErrorInvalidHandle;
    return key_.Owner()->DeleteKey(key_.Get(), subkey, view_);
}

std::vector<std::string> RegKey::ValueNames() const {
    return Names(&Registry::EnumValue);
}

std::vector<std::string> RegKey::SubKeyNames() const {
    return Names(&Registry::EnumKey);
}

std::vector<std::string> RegKey::Names(
    long (Registry::*enumerate)(RegHandle, std::uint32_t, std::string*)) const {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0;
         *this && (key_.Owner()->*enumerate)(key_.Get(), i, &name) == kErrorSuccess; ++i) {
        names.push_back(name);
    }
    return names;
}

}  // namespace tv
