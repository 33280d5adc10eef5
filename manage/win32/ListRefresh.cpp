#include "manage/win32/ListRefresh.h"

#include <string>

namespace tv {

namespace {
// A scan shorter than this shows no sign: it would only flicker.
constexpr DWORD kSignAfterMs = 500;
constexpr int kSignId = 0x7F1;
}  // namespace

std::string ScanSignText(int progress) {
    return "正在扫描… 已查看 " + std::to_string(progress) + " 项";
}

ScanSign::~ScanSign() {
    if (sign_ && IsWindow(sign_)) DestroyWindow(sign_);
}

void ScanSign::Begin(HWND page) {
    begun_ = GetTickCount();
    for (int id : actions_) EnableWindow(GetDlgItem(page, id), FALSE);
}

void ScanSign::Tick(HWND page, int progress) {
    if (GetTickCount() - begun_ < kSignAfterMs || progress == shown_) return;
    if (!sign_) {
        RECT place = place_;
        MapDialogRect(page, &place);
        sign_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                place.left, place.top, place.right - place.left,
                                place.bottom - place.top, page,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSignId)),
                                GetModuleHandleA(nullptr), nullptr);
        if (!sign_) return;
        SendMessageA(sign_, WM_SETFONT, SendMessageA(page, WM_GETFONT, 0, 0), FALSE);
    }
    shown_ = progress;
    SetWindowTextA(sign_, ScanSignText(progress).c_str());
}

void ScanSign::End(HWND page) {
    if (sign_) DestroyWindow(sign_);
    sign_ = nullptr;
    shown_ = -1;
    for (int id : actions_) EnableWindow(GetDlgItem(page, id), TRUE);
}

}  // namespace tv
