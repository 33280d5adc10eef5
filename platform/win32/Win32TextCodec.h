// The one conversion between the ANSI code page and UTF-16 in the Win32
// layer (WideCharToMultiByte / MultiByteToWideChar with CP_ACP), and the
// TextCodec over it.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace tv {

// The code page's text in UTF-16, as the A-functions would pass it on;
// empty when it does not convert.
std::wstring WideFromAnsi(std::string_view text);
// UTF-16 in the code page, as the A-functions would give it: a character
// the code page lacks becomes its best fit or '?'.
std::string AnsiFromWide(std::wstring_view text);
// The same, but false (and `text` empty) when any character has no exact
// form: such a path would name another file.
bool AnsiFromWideExactly(std::wstring_view wide, std::string* text);

class Win32TextCodec : public TextCodec {
public:
    std::string WideToAnsi(const std::u16string& text) const override;
    std::u16string AnsiToWide(const std::string& text) const override;
};

}  // namespace tv
