#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32TextCodec.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace tv {

namespace {

// COM for the length of one read. The program's own thread already runs
// OLE, so "already initialised" counts as success too (and is balanced);
// a thread in the other apartment model can still create the object but
// must not be uninitialised by us.
bool Usable(const ComSession& com) {
    return SUCCEEDED(com.Result()) || com.Result() == RPC_E_CHANGED_MODE;
}

std::wstring Widen(const std::string& text) { return WideFromAnsi(text); }

}  // namespace

namespace {

// Loads one shortcut into a fresh link object made by `factory`.
bool LoadTarget(IClassFactory& factory, const std::wstring& linkPath, std::string* target) {
    ComPtr<IShellLinkA> link;
    if (FAILED(factory.CreateInstance(nullptr, IID_IShellLinkA, reinterpret_cast<void**>(link.Put()))))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))))
        return false;
    if (linkPath.empty() || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return false;
    // Zero-filled: a target that is no file system object reads as empty.
    std::vector<char> path(4 * MAX_PATH, '\0');
    link->GetPath(path.data(), static_cast<int>(path.size()), nullptr, 0);
    path.back() = '\0';
    target->assign(path.data());
    return true;
}

// The link object's class factory: finding the class is most of what
// creating an object costs, so a batch finds it once. Every shortcut still
// gets an object of its own, so nothing of one is left in the next.
bool LinkFactory(ComPtr<IClassFactory>* factory) {
    return SUCCEEDED(CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr,
                                      IID_IClassFactory, reinterpret_cast<void**>(factory->Put())));
}

}  // namespace

bool Win32ShellLinks::ReadTarget(const std::string& linkPath, std::string* target) const {
    ComSession com(COINIT_APARTMENTTHREADED);
    if (!Usable(com)) return false;
    ComPtr<IClassFactory> factory;
    // The whole path is converted, however long: a cut path would load the
    // wrong file or none.
    return LinkFactory(&factory) && LoadTarget(*factory.Get(), Widen(linkPath), target);
}

std::vector<std::optional<std::string>> Win32ShellLinks::ReadTargets(
    const std::vector<std::string>& linkPaths) const {
    std::vector<std::u16string> exact;
    for (const std::string& path : linkPaths) {
        const std::wstring wide = Widen(path);
        exact.emplace_back(wide.begin(), wide.end());
    }
    return ReadTargetsW(exact);
}

std::vector<std::optional<std::string>> Win32ShellLinks::ReadTargetsW(
    const std::vector<std::u16string>& linkPaths, const std::function<bool()>& stop) const {
    std::vector<std::optional<std::string>> targets(linkPaths.size());
    if (linkPaths.empty()) return targets;
    ComSession com(COINIT_APARTMENTTHREADED);
    ComPtr<IClassFactory> factory;
    if (!Usable(com) || !LinkFactory(&factory)) return targets;
    for (size_t i = 0; i < linkPaths.size(); ++i) {
        if (stop && stop()) {
            targets.resize(i);
            break;
        }
        std::string target;
        const std::wstring path(linkPaths[i].begin(), linkPaths[i].end());
        if (LoadTarget(*factory.Get(), path, &target)) targets[i] = std::move(target);
    }
    return targets;
}

}  // namespace tv
