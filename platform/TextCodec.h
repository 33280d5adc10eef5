// Conversion between UTF-16 and the ANSI code page (936) that the registry's
// A-functions and 8-bit files use. Characters the other side cannot hold
// become '?'.
#pragma once

#include <string>

namespace tv {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string WideToAnsi(const std::u16string& text) const = 0;
    virtual std::u16string AnsiToWide(const std::string& text) const = 0;
};

}  // namespace tv
