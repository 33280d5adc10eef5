// Functions of system DLLs the program needs only now and then (version
// resources, sound devices, gradients). Each DLL is loaded on first use, by
// its full path in the system directory: never from the program's own
// folder, where a planted copy would run with the program's elevated
// rights, and not while the program starts. Loaded DLLs stay for the life
// of the process.
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
