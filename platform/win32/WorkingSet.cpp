#include "platform/win32/WorkingSet.h"

#include <windows.h>

namespace tv {

void TrimWorkingSet() {
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1),
                             static_cast<SIZE_T>(-1));
}

}  // namespace tv
