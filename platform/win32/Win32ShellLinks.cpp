#include "platform/win32/Win32ShellLinks.h"
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
class ComSession {
public:
    ComSession() {
        HRESULT result = CoInitialize(nullptr);
        ok_ = result == S_OK || result == S_FALSE || result == RPC_E_CHANGED_MODE;
        balance_ = result == S_OK || result == S_FALSE;
    }
    ~ComSession() {
        if (balance_) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
    bool balance_ = false;
};

// Releases one interface pointer on every path.
template <typename Interface>
class Com {
public:
    Com() = default;
    ~Com() {
        if (pointer_) pointer_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    void** Out() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

std::wstring Widen(const std::string& text) { return WideFromAnsi(text); }

}  // namespace

namespace {

// Loads one shortcut into a fresh link object made by `factory`.
bool LoadTarget(IClassFactory& factory, const std::wstring& linkPath, std::string* target) {
    Com<IShellLinkA> link;
    if (FAILED(factory.CreateInstance(nullptr, IID_IShellLinkA, link.Out()))) return false;
    Com<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return false;
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
bool LinkFactory(Com<IClassFactory>* factory) {
    return SUCCEEDED(CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, nullptr,
                                      IID_IClassFactory, factory->Out()));
}

}  // namespace

bool Win32ShellLinks::ReadTarget(const std::string& linkPath, std::string* target) const {
    ComSession com;
    if (!com.Ok()) return false;
    Com<IClassFactory> factory;
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
    ComSession com;
    Com<IClassFactory> factory;
    if (!com.Ok() || !LinkFactory(&factory)) return targets;
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
