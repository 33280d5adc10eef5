#include "platform/win32/Win32UserShell.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <string>
#include <utility>

#include "platform/win32/BackgroundThreads.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

// {4C96BE40-915C-11CF-99D3-00AA004AE837}: the service that hands out the
// browser (here the desktop) that hosts a window's view.
const GUID kTopLevelBrowserService = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

constexpr char kAnswerWindowClass[] = "TrimvexUserShellAnswers";
// Posted by an asking thread once its request is settled; wParam is its id.
constexpr UINT kAnsweredMessage = WM_APP + 0x180;

// Where a request is. Only the asking thread moves it from kAsking to
// kStarting, so a request the window has given up on (kLate) is never
// started afterwards.
enum RequestState : int { kAsking, kStarting, kTaken, kRefused, kLate };

// Text in the ANSI code page as UTF-16; empty when it does not convert.
std::wstring Wide(const std::string& text) { return WideFromAnsi(text); }

// An optional text argument: VT_EMPTY when there is none (the shell's
// default then), else a BSTR the Variant frees.
bool SetText(Variant& argument, const std::string& text) {
    if (text.empty()) return true;
    std::wstring wide = Wide(text);
    BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!value) return false;
    argument.Get()->vt = VT_BSTR;
    argument.Get()->bstrVal = value;
    return true;
}

// The desktop's shell application object: the shell-windows collection
// finds the desktop window, its top-level browser gives the active view, and
// the view's background automation object names the application. The
// collection is the running shell's, asked out of process: never a server
// loaded into this elevated process. (Wine's desktop sets no shell window, so
// GetShellWindow cannot tell whether a shell runs.)
ComPtr<IShellDispatch2> DesktopApplication() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                reinterpret_cast<void**>(windows.Put()))))
        return {};
    // The desktop is asked for by its folder id (CSIDL_DESKTOP as VT_I4),
    // with no root.
    Variant location;
    location.Get()->vt = VT_I4;
    location.Get()->lVal = CSIDL_DESKTOP;
    Variant root;
    long window = 0;
    ComPtr<IDispatch> found;
    // S_FALSE: no such window, and no object.
    if (windows->FindWindowSW(location.Get(), root.Get(), SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              found.Put()) != S_OK ||
        !found)
        return {};
    ComPtr<IServiceProvider> services;
    if (FAILED(found->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(services.Put()))))
        return {};
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser),
                                      reinterpret_cast<void**>(browser.Put()))))
        return {};
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.Put())) || !view) return {};
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch),
                                   reinterpret_cast<void**>(background.Put()))))
        return {};
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(__uuidof(IShellFolderViewDual),
                                          reinterpret_cast<void**>(folderView.Put()))))
        return {};
    ComPtr<IDispatch> application;
    if (FAILED(folderView->get_Application(application.Put())) || !application) return {};
    ComPtr<IShellDispatch2> shell;
    if (FAILED(application->QueryInterface(__uuidof(IShellDispatch2), reinterpret_cast<void**>(shell.Put()))))
        return {};
    return shell;
}

bool Execute(IShellDispatch2& shell, const ShellLaunch& launch) {
    std::wstring wideFile = Wide(launch.file);
    if (wideFile.empty()) return false;
    Bstr file(wideFile.c_str());
    Variant parameters, directory, verb, show;
    if (!file || !SetText(parameters, launch.parameters) || !SetText(directory, launch.directory) ||
        !SetText(verb, launch.verb))
        return false;
    show.Get()->vt = VT_I4;
    show.Get()->lVal = launch.showCommand;
    return SUCCEEDED(shell.ShellExecute(file.Get(), parameters.Value(), directory.Value(), verb.Value(),
                                        show.Value()));
}

}  // namespace

struct Win32UserShell::Request {
    std::atomic<int> state{kAsking};
};

// The answer window as the asking threads see it: cleared, under the lock,
// when the window goes, so a late thread posts to nobody.
struct Win32UserShell::Mailbox {
    std::mutex lock;
    HWND window = nullptr;

    void Post(UINT_PTR id) {
        std::lock_guard<std::mutex> guard(lock);
        if (window) PostMessageA(window, kAnsweredMessage, id, 0);
    }
};

Win32UserShell::~Win32UserShell() {
    if (mailbox_) {
        std::lock_guard<std::mutex> guard(mailbox_->lock);
        mailbox_->window = nullptr;
    }
    // Its timers go with it; answers still pending are never given.
    if (window_) DestroyWindow(window_);
}

bool Win32UserShell::MakeWindow() {
    if (window_) return true;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA type{};
    type.cbSize = sizeof(type);
    if (!GetClassInfoExA(instance, kAnswerWindowClass, &type)) {
        type = WNDCLASSEXA{};
        type.cbSize = sizeof(type);
        type.lpfnWndProc = WindowProc;
        type.hInstance = instance;
        type.lpszClassName = kAnswerWindowClass;
        if (!RegisterClassExA(&type)) return false;
    }
    HWND window = CreateWindowExA(0, kAnswerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    if (!window) return false;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    auto mailbox = std::make_shared<Mailbox>();
    mailbox->window = window;
    window_ = window;
    mailbox_ = std::move(mailbox);
    return true;
}

void Win32UserShell::Launch(const ShellLaunch& launch, std::function<void(bool taken)> answered) {
    const UINT_PTR id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    auto request = std::make_shared<Request>();
    if (!MakeWindow() || !SetTimer(window_, id, kUserShellAnswerMs, nullptr)) {
        // Nowhere to wait for an answer: none.
        if (answered) answered(false);
        return;
    }
    pending_[id] = Pending{request, std::move(answered)};
    std::shared_ptr<Mailbox> mailbox = mailbox_;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    const bool started = StartBackgroundThread(
        // On its own thread: find the running shell, claim the request unless
        // the window has given up on it, hand it over, and report.
        [launch, request, mailbox, stop, id] {
            bool taken = false;
            {
                // A thread of its own, so its own apartment; released before
                // the report, on every path.
                ComSession com(COINIT_APARTMENTTHREADED);
                if (SUCCEEDED(com.Result())) {
                    ComPtr<IShellDispatch2> shell = DesktopApplication();
                    if (shell) {
                        int asking = kAsking;
                        // Given up on (or the program ends): never started now.
                        if (stop->load() || !request->state.compare_exchange_strong(asking, kStarting))
                            return;
                        taken = Execute(*shell.Get(), launch);
                    }
                }
            }
            request->state.store(taken ? kTaken : kRefused);
            mailbox->Post(id);
        },
        stop);
    if (!started) {
        request->state.store(kRefused);
        Settle(id, false);
    }
}

void Win32UserShell::Settle(UINT_PTR id, bool fromTimer) {
    const auto it = pending_.find(id);
    if (it == pending_.end()) {
        if (fromTimer) KillTimer(window_, id);
        return;
    }
    std::atomic<int>& state = it->second.request->state;
    int now = state.load();
    // Not taken in time: the request is given up on, and the asking thread,
    // should it find the shell after all, leaves it.
    if (fromTimer && now == kAsking && state.compare_exchange_strong(now, kLate)) now = kLate;
    if (now == kAsking || now == kStarting) {
        // kStarting: the shell answered and has the request; its own answer
        // follows in a message.
        if (fromTimer) KillTimer(window_, id);
        return;
    }
    KillTimer(window_, id);
    std::function<void(bool)> answered = std::move(it->second.answered);
    // Gone before the call: the answer may show a modal box, whose loop
    // brings the next messages of this window.
    pending_.erase(it);
    if (answered) answered(now == kTaken);
}

LRESULT CALLBACK Win32UserShell::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32UserShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && (message == WM_TIMER || message == kAnsweredMessage)) {
        self->Settle(static_cast<UINT_PTR>(wParam), message == WM_TIMER);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace tv
