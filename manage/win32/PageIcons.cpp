#include "manage/win32/PageIcons.h"

namespace tv {

void SetButtonIcon(ui::Button&, int) {}

}  // namespace tv
