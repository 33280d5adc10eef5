// The push button of every page: a light vertical gradient inside a
// rounded two-tone border, drawn off-screen and copied in one operation.
#pragma once

#include "controls/win32/SmartButton.h"

namespace tv {

class CGradientButton : public CSmartButton {
protected:
    void DrawFace(HDC dc, const RECT& item) override;
    void DrawBorder(HDC, const RECT&) override {}
};

}  // namespace tv
