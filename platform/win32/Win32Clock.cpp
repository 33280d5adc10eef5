#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace tv {

LocalDate Win32Clock::Today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace tv
