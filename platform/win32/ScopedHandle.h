// Owners for the Win32 handle kinds, one line each: every kind is empty when
// null and released by its own call on every path. COM strings and
// sessions are in ComPtr.h, GDI objects in platform/ui/Gdi.h, on the same
// traits.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

namespace tv {

template <typename Handle, auto CloseCall>
struct Win32Traits {
    static Handle Empty() { return nullptr; }
    // The platform reports failure with either value, depending on the call.
    static bool IsValid(Handle handle) {
        return handle != nullptr && handle != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
    }
    static void Close(Handle handle) { CloseCall(handle); }
};

template <typename Handle, auto CloseCall>
using Win32Handle = UniqueHandle<Handle, Win32Traits<Handle, CloseCall>>;

// Kernel objects: process, thread, token, snapshot, file, event.
using ScopedHandle = Win32Handle<HANDLE, &CloseHandle>;
using FindHandle = Win32Handle<HANDLE, &FindClose>;
using ServiceHandle = Win32Handle<SC_HANDLE, &CloseServiceHandle>;
using RegistryKey = Win32Handle<HKEY, &RegCloseKey>;
using LocalMemory = Win32Handle<HLOCAL, &LocalFree>;
using GlobalMemory = Win32Handle<HGLOBAL, &GlobalFree>;
using LoadedModule = Win32Handle<HMODULE, &FreeLibrary>;
using MenuHandle = Win32Handle<HMENU, &DestroyMenu>;

}  // namespace tv
