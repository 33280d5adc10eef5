#pragma once

#include "platform/Prompter.h"

namespace tv {

// MessageBoxIndirectA, owned by the thread's active window.
class Win32Prompter : public Prompter {
public:
    int Ask(const Prompt& prompt) override;
};

// For news that arrives later, not as the answer to a click (the desktop
// shell did not take an address): owned by the thread's active window, else
// by its main window (while another program is in front, the thread has no
// active window); no box, and kIdCancel, once the thread has no visible
// window left (the program is ending).
class Win32NoticePrompter : public Prompter {
public:
    int Ask(const Prompt& prompt) override;
};

}  // namespace tv
