// Owns a kernel object handle (process, thread, token, snapshot, event...)
// and closes it on every path.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace tv {

struct KernelHandleTraits {
    static HANDLE Empty() { return nullptr; }
    // The platform reports failure with either value, depending on the call.
    static bool IsValid(HANDLE handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

using ScopedHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

}  // namespace tv
