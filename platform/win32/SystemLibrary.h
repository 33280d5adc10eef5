// Functions of system DLLs that are no KnownDLLs (version resources, sound
// devices, gradients, common controls). Each DLL is loaded on first use, by
// its full path in the system directory: never from the program's own
// folder, where a planted copy would run with the program's elevated
// rights, and only once it is needed. Loaded DLLs stay for the life of the
// process.
#pragma once

#include <windows.h>

namespace tv {

// The address of `name` in the system DLL `dll` ("version.dll"), or null
// when either cannot be found.
FARPROC SystemFunction(const char* dll, const char* name);

// The same, typed: SystemFunctionAs<decltype(&VerQueryValueA)>(...).
template <typename Function>
Function SystemFunctionAs(const char* dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(dll, name)));
}

}  // namespace tv
