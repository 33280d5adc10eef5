// Well-known programs of other makers, with a friendly description of each.
#pragma once

#include <array>
#include <string>

namespace tv {

struct KnownFile {
    const char* fileName;
    // The FileDescription the file must carry; null: any description.
    const char* description;
    const char* friendlyText;
};

// The rows in the order they are tried.
extern const std::array<KnownFile, 40> KnownFileTable;

// The friendly text of the first row whose file name (and description, when
// the row has one) equal the given ones ignoring ASCII letter case; empty
// when no row matches. No trimming, no directory stripping.
std::string LookUpKnownFile(const std::string& fileName, const std::string& description);

}  // namespace tv
