// UTF-16 text as files and the registry's W-functions hold it: little-endian
// bytes, two to a unit.
#pragma once

#include <string>
#include <string_view>

namespace tv::utf16 {

// The units as bytes, low byte first; no byte-order mark.
std::string ToBytes(std::u16string_view text);
// The bytes as units; an odd last byte has no unit and is left out.
std::u16string FromBytes(std::string_view bytes);

}  // namespace tv::utf16
