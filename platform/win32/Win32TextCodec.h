// TextCodec over WideCharToMultiByte / MultiByteToWideChar with CP_ACP.
#pragma once

#include "platform/TextCodec.h"

namespace tv {

class Win32TextCodec : public TextCodec {
public:
    std::string WideToAnsi(const std::u16string& text) const override;
    std::u16string AnsiToWide(const std::string& text) const override;
};

}  // namespace tv
