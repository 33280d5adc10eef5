#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace tv {

LocalDate Win32Clock::Today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

LocalDateTime Win32Clock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, {now.wHour, now.wMinute, now.wSecond}};
}

}  // namespace tv
