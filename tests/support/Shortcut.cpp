#include "tests/support/Shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace tv::testing {

bool MakeShortcut(const std::string& linkPath, const std::string& target) {
    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, 1023);
    const std::wstring path = wide;
    return MakeShortcut(std::u16string(path.begin(), path.end()), target);
}

bool MakeShortcut(const std::u16string& linkPath, const std::string& target) {
    const std::wstring wide(linkPath.begin(), linkPath.end());
    HRESULT init = CoInitialize(nullptr);
    bool saved = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->SetPath(target.c_str())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return saved;
}

}  // namespace tv::testing
