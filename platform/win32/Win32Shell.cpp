#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

namespace tv {

void Win32Shell::Open(const std::string& address, int showCommand) {
    ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr,
                  showCommand);
}

}  // namespace tv
