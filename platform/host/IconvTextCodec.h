// TextCodec for the host build: iconv between UTF-16LE and CP936, standing
// in for the Windows code page 936 conversions.
#pragma once

#include "platform/TextCodec.h"

namespace tv {

class IconvTextCodec : public TextCodec {
public:
    std::string WideToAnsi(const std::u16string& text) const override;
    std::u16string AnsiToWide(const std::string& text) const override;
};

}  // namespace tv
