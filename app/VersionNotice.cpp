#include "app/VersionNotice.h"

#include "platform/BuildSettings.h"

namespace tv {

bool IsVersionNoticeDue(const LocalDate& today) {
    return today.year > 2009 && today.month > 2;
}

std::string HomePageAddress() { return std::string("http://") + TV_SITE_HOST + "/"; }

}  // namespace tv
