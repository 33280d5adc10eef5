#pragma once

#include "platform/Prompter.h"

namespace tv {

// MessageBoxIndirectA, owned by the thread's active window.
class Win32Prompter : public Prompter {
public:
    int Ask(const Prompt& prompt) override;
};

}  // namespace tv
