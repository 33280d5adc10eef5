// UserShell over the running desktop shell's automation objects: its
// IShellDispatch2::ShellExecute runs in the shell's process.
//
// Each request is asked from a thread of its own, so a shell that is slow
// to answer never holds up the window. The answers come back to a
// message-only window of the user-interface thread, whose timer gives the
// shell kUserShellAnswerMs: a request not taken by then is answered false
// and, should the shell answer afterwards, is not started.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/UserShell.h"

namespace tv {

class Win32UserShell : public UserShell {
public:
    Win32UserShell() = default;
    ~Win32UserShell() override;
    Win32UserShell(const Win32UserShell&) = delete;
    Win32UserShell& operator=(const Win32UserShell&) = delete;

    void Launch(const ShellLaunch& launch, std::function<void(bool taken)> answered) override;

private:
    // Shared with the asking thread.
    struct Request;
    struct Mailbox;
    struct Pending {
        std::shared_ptr<Request> request;
        std::function<void(bool)> answered;
    };

    bool MakeWindow();
    void Settle(UINT_PTR id, bool fromTimer);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::shared_ptr<Mailbox> mailbox_;
    std::map<UINT_PTR, Pending> pending_;
    UINT_PTR nextId_ = 1;
};

}  // namespace tv
