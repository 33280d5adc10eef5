#include "app/PageLayout.h"

namespace tv {

PixelRect ContentRectFromFrame(const PixelRect& frame, int top) {
    return {frame.left, top, frame.right - 2, frame.bottom - 2};
}

}  // namespace tv
