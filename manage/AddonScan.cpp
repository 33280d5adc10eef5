#include "manage/AddonScan.h"

#include "manage/AddonSources.h"

namespace tv {

namespace {

// Enough for a value that changes size between the two reads a few times.
constexpr int kReadAttempts = 4;

void ReadClassDetails(Registry& registry, const std::string& id, AddonRow* row) {
    const std::string classKey = "CLSID\\" + id;
    RegKey key = RegKey::Open(registry, kHkeyClassesRoot, classKey, kKeyRead);
    row->displayName = ReadValueText(key, "");
    RegKey server = RegKey::Open(registry, kHkeyClassesRoot, classKey + "\\InprocServer32", kKeyRead);
    row->file = ReadValueText(server, "");
}

void ReadExtensionDetails(Registry& registry, const RegKey& extensions, const std::string& id,
                          AddonRow* row) {
    RegKey key = RegKey::Open(registry, extensions.Handle(), id, kKeyRead);
    row->displayName = ReadValueText(key, "buttontext");
    row->file = ReadValueText(key, "exec");
}

// The names registered under one source, in enumeration order.
std::vector<std::string> SourceNames(Registry& registry, const RegKey& key, AddonNames names) {
    std::vector<std::string> found;
    for (std::uint32_t index = 0;; ++index) {
        std::string name;
        long status = names == AddonNames::Values ? registry.EnumValue(key.Handle(), index, &name)
                                                  : registry.EnumKey(key.Handle(), index, &name);
        if (status == kErrorSuccess) {
            found.push_back(name);
        } else if (status != kErrorMoreData) {
            // The end of the list, or a key that went away: asking again
            // would give the same answer forever.
            break;
        }
        // A name too long to be read cannot be addressed later: skip it.
    }
    return found;
}

}  // namespace

std::string ReadValueText(const RegKey& key, const std::string& name) {
    if (!key) return {};
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t size = 0;
        if (key.Query(name, nullptr, nullptr, &size) != kErrorSuccess) return {};
        // One spare byte keeps the buffer non-null and the text terminated.
        std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
        std::uint32_t read = size;
        long status = key.Query(name, nullptr, buffer.data(), &read);
        if (status == kErrorMoreData) continue;  // grew since the size was asked
        if (status != kErrorSuccess) return {};
        buffer.resize(read);
        return std::string(buffer.c_str());
    }
    return {};
}

std::vector<AddonRow> ScanAddons(Registry& registry) {
    std::vector<AddonRow> rows;
    for (const AddonSource& source : kAddonSources) {
        RegKey key = RegKey::Open(registry, source.root, source.path, kKeyAllAccess);
        if (!key) continue;
        std::vector<AddonRow> group;
        for (const std::string& name : SourceNames(registry, key, source.names)) {
            AddonRow row;
            row.name = name;
            row.typeText = source.typeText;
            row.image = source.image;
            if (source.details == AddonDetails::ClassKey)
                ReadClassDetails(registry, name, &row);
            else
                ReadExtensionDetails(registry, key, name, &row);
            group.push_back(std::move(row));
        }
        // Each source is listed from the top, above the sources before it.
        rows.insert(rows.begin(), group.begin(), group.end());
    }
    return rows;
}

}  // namespace tv
