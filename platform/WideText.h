// UTF-16 text: as files and the registry's W-functions hold it (little-
// endian bytes, two to a unit), and compared as the system compares names
// (ASCII letters without regard to case). The one place for these, as
// platform/CodePageText.h is for the code page's text.
#pragma once

#include <string>
#include <string_view>

namespace tv::utf16 {

// The units as bytes, low byte first; no byte-order mark.
std::string ToBytes(std::u16string_view text);
// The bytes as units; an odd last byte has no unit and is left out.
std::u16string FromBytes(std::string_view bytes);

// ASCII letters upper-cased; every other unit as it is (Windows folds other
// scripts' letters too: callers that compare names the system gave them
// find those as given).
char16_t FoldAscii(char16_t unit);
// The text with every unit folded so: a key under which spellings the
// system takes for one name meet.
std::u16string FoldAscii(std::u16string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);

}  // namespace tv::utf16
