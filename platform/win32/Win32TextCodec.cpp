#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

namespace tv {

namespace {
std::string Narrowed(std::wstring_view wide, DWORD flags, BOOL* replaced) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, replaced);
    if (needed <= 0) return {};
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), length, out.data(), needed, nullptr, replaced);
    return out;
}
}  // namespace

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), needed);
    return out;
}

std::string AnsiFromWide(std::wstring_view text) { return Narrowed(text, 0, nullptr); }

bool AnsiFromWideExactly(std::wstring_view wide, std::string* text) {
    BOOL replaced = FALSE;
    *text = Narrowed(wide, WC_NO_BEST_FIT_CHARS, &replaced);
    if (replaced || (text->empty() && !wide.empty())) {
        text->clear();
        return false;
    }
    return true;
}

std::string Win32TextCodec::WideToAnsi(const std::u16string& text) const {
    return AnsiFromWide(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::u16string Win32TextCodec::AnsiToWide(const std::string& text) const {
    const std::wstring wide = WideFromAnsi(text);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace tv
