#pragma once

#include "platform/Shell.h"

namespace tv {

// ShellExecuteA with no verb and no owner window.
class Win32Shell : public Shell {
public:
    void Open(const std::string& address, int showCommand) override;
};

}  // namespace tv
