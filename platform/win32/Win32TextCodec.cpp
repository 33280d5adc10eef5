#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

namespace tv {

std::string Win32TextCodec::WideToAnsi(const std::u16string& text) const {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0,
                                           nullptr, nullptr);
    if (needed <= 0) return {};
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), needed, nullptr,
                        nullptr);
    return out;
}

std::u16string Win32TextCodec::AnsiToWide(const std::string& text) const {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed =
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length,
                        reinterpret_cast<wchar_t*>(out.data()), needed);
    return out;
}

}  // namespace tv
