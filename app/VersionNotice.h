// The notice that a newer version is out, shown at start-up after a date.
#pragma once

#include <string>

#include "platform/Clock.h"

namespace tv {

constexpr char kNoticeCaption[] = "Trimvex";
constexpr char kNoticeText[] = "我们推荐您更新新版本请访问";

// True when the year is after 2009 and the month after February (both
// strict), so January and February never show it.
bool IsVersionNoticeDue(const LocalDate& today);

// "http://" + the product site's host + "/".
std::string HomePageAddress();

}  // namespace tv
