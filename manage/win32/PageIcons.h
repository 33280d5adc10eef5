// Icon resources of the service and process pages, and giving a page push
// button its icon.
#pragma once

#include "platform/ui/Controls.h"

namespace tv {

constexpr int kServiceRowIcon = 160;
constexpr int kPlainWindowIcon = 176;
constexpr int kRefreshIcon = 177;
constexpr int kDeleteIcon = 178;

void SetButtonIcon(ui::Button& button, int iconId);

}  // namespace tv
