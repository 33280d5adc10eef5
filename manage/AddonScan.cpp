#include "manage/AddonScan.h"

#include <utility>

#include "manage/AddonSources.h"
#include "manage/AddonSwitch.h"

namespace tv {

namespace {

// Enough for a value that changes size between the two reads a few times.

std::u16string Widened(const char* ascii) {
    std::u16string wide;
    for (; *ascii != '\0'; ++ascii) wide.push_back(static_cast<unsigned char>(*ascii));
    return wide;
}

// `head` + the row's exact name + `tail` (ASCII both).
RegKey OpenNamed(Registry& registry, const TextCodec& codec, RegHandle parent, const char* head,
                 const AddonRow& row, const char* tail, std::uint32_t access) {
    return RegKey::OpenW(registry, parent, Widened(head) + row.name.Exact(codec) + Widened(tail), access);
}

void ReadClassDetails(Registry& registry, const TextCodec& codec, std::uint32_t view, AddonRow* row) {
    RegKey key = OpenNamed(registry, codec, kHkeyClassesRoot, "CLSID\\", *row, "", kKeyRead | view);
    row->displayName = ReadValueText(key, "");
    RegKey server =
        OpenNamed(registry, codec, kHkeyClassesRoot, "CLSID\\", *row, "\\InprocServer32", kKeyRead | view);
    row->file = ReadValueText(server, "");
    row->classView = view;
}

// A registration both browsers read (the search hooks) names a class that
// either bitness may have registered: the system's own view first, else
// the 32-bit one.
void ReadSharedClassDetails(Registry& registry, const TextCodec& codec, bool is64BitSystem, AddonRow* row) {
    ReadClassDetails(registry, codec, row->view, row);
    if (!is64BitSystem) return;
    if (OpenNamed(registry, codec, kHkeyClassesRoot, "CLSID\\", *row, "", kKeyRead | kKeyWow64_64Key))
        return;
    if (OpenNamed(registry, codec, kHkeyClassesRoot, "CLSID\\", *row, "", kKeyRead | kKeyWow64_32Key))
        ReadClassDetails(registry, codec, kKeyWow64_32Key, row);
}

void ReadExtensionDetails(Registry& registry, const TextCodec& codec, const RegKey& extensions,
                          AddonRow* row) {
    RegKey key = OpenNamed(registry, codec, extensions.Handle(), "", *row, "", kKeyRead | extensions.View());
    row->displayName = ReadValueText(key, "buttontext");
    row->file = ReadValueText(key, "exec");
    row->classView = row->view;
}

// The names registered under one source, exactly, in enumeration order.
std::vector<EntryName> SourceNames(Registry& registry, const RegKey& key, AddonNames names,
                                   const TextCodec& codec) {
    std::vector<EntryName> found;
    for (std::uint32_t index = 0;; ++index) {
        std::u16string exact;
        const long status = names == AddonNames::Values ? registry.EnumValueW(key.Handle(), index, &exact)
                                                        : registry.EnumKeyW(key.Handle(), index, &exact);
        if (status == kErrorSuccess) found.push_back(EntryName::Of(exact, codec));
        if (status != kErrorSuccess && status != kErrorMoreData) {
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
    std::string data;
    if (!key || key.ReadWhole(name, nullptr, &data) != kErrorSuccess) return {};
    return data.substr(0, data.find('\0'));
}

std::vector<AddonRow> ScanAddons(Registry& registry, bool is64BitSystem, const TextCodec& codec,
                                 const std::function<bool()>& stop) {
    std::vector<AddonRow> rows;
    bool stopped = false;
    for (const AddonSource& source : kAddonSources) {
        if (stopped) break;
        std::vector<AddonRow> group;
        for (std::uint32_t view : ViewsToRead(is64BitSystem, source.views)) {
            if (stopped) break;
            RegKey key = RegKey::Open(registry, source.root, source.path, kKeyAllAccess | view);
            if (!key) continue;
            for (EntryName& name : SourceNames(registry, key, source.names, codec)) {
                if (stop && (stopped = stop())) break;
                AddonRow row;
                row.name = std::move(name);
                row.typeText = source.typeText;
                row.image = source.image;
                row.view = view;
                if (source.details == AddonDetails::ExtensionKey)
                    ReadExtensionDetails(registry, codec, key, &row);
                else if (source.views == ViewsRead::Shared)
                    ReadSharedClassDetails(registry, codec, is64BitSystem, &row);
                else
                    ReadClassDetails(registry, codec, view, &row);
                row.disabled = IsAddonDisabled(registry, row, codec);
                group.push_back(std::move(row));
            }
        }
        // Each source is listed from the top, above the sources before it.
        rows.insert(rows.begin(), group.begin(), group.end());
    }
    return rows;
}

}  // namespace tv
