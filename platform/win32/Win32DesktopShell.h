// DesktopShell over the shell's active-desktop object and SHChangeNotify.
#pragma once

#include "platform/DesktopShell.h"

namespace tv {

class Win32DesktopShell : public DesktopShell {
public:
    std::unique_ptr<ActiveDesktopSession> OpenActiveDesktop() override;
    void NotifyAssociationsChanged() override;
};

}  // namespace tv
