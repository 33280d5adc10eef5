// A static control that shows the hand cursor: the clickable logo.
#pragma once

#include "platform/ui/Controls.h"

namespace tv {

class CHandStatic : public ui::Static {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tv
