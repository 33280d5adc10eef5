#include "manage/AddonScan.h"

#include "manage/AddonSources.h"

namespace tv {

namespace {

// Enough for a value that changes size between the two reads a few times.
constexpr int kReadAttempts = 4;

void ReadClassDetails(Registry& registry, const std::string& id, std::uint32_t view,
                      AddonRow* row) {
    const std::string classKey = "CLSID\\" + id;
    RegKey key = RegKey::Open(registry, kHkeyClassesRoot, classKey, kKeyRead | view);
    row->displayName = ReadValueText(key, "");
    RegKey server =
        RegKey::Open(registry, kHkeyClassesRoot, classKey + "\\InprocServer32", kKeyRead | view);
    row->file = ReadValueText(server, "");
    row->classView = view;
}

// A registration both browsers read (the search hooks) names a class that
// either bitness may have registered: the system's own view first, else
// the 32-bit one.
void ReadSharedClassDetails(Registry& registry, const std::string& id, bool is64BitSystem,
                            AddonRow* row) {
    ReadClassDetails(registry, id, row->view, row);
    if (!is64BitSystem) return;
    if (RegKey::Open(registry, kHkeyClassesRoot, "CLSID\\" + id, kKeyRead | kKeyWow64_64Key))
        return;
    if (RegKey::Open(registry, kHkeyClassesRoot, "CLSID\\" + id, kKeyRead | kKeyWow64_32Key))
        ReadClassDetails(registry, id, kKeyWow64_32Key, row);
}

void ReadExtensionDetails(Registry& registry, const RegKey& extensions, const std::string& id,
                          AddonRow* row) {
    RegKey key = RegKey::Open(registry, extensions.Handle(), id, kKeyRead | extensions.View());
    row->displayName = ReadValueText(key, "buttontext");
    row->file = ReadValueText(key, "exec");
    row->classView = row->view;
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

std::vector<AddonRow> ScanAddons(Registry& registry, bool is64BitSystem) {
    std::vector<AddonRow> rows;
    for (const AddonSource& source : kAddonSources) {
        std::vector<AddonRow> group;
        for (std::uint32_t view : ViewsToRead(is64BitSystem, source.views)) {
            RegKey key = RegKey::Open(registry, source.root, source.path, kKeyAllAccess | view);
            if (!key) continue;
            for (const std::string& name : SourceNames(registry, key, source.names)) {
                AddonRow row;
                row.name = name;
                row.typeText = source.typeText;
                row.image = source.image;
                row.view = view;
                if (source.details == AddonDetails::ExtensionKey)
                    ReadExtensionDetails(registry, key, name, &row);
                else if (source.views == ViewsRead::Shared)
                    ReadSharedClassDetails(registry, name, is64BitSystem, &row);
                else
                    ReadClassDetails(registry, name, view, &row);
                group.push_back(std::move(row));
            }
        }
        // Each source is listed from the top, above the sources before it.
        rows.insert(rows.begin(), group.begin(), group.end());
    }
    return rows;
}

}  // namespace tv
