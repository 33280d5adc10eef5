// The download pages' buttons: caption, where the button stands and the
// address it opens.
#pragma once

#include <string>
#include <vector>

namespace tv {

enum class LinkHost { DriverSite, AdapterMaker, ProductSite };

struct LinkButton {
    int id;
    const char* caption;
    const char* path;
    LinkHost host;
    int iconId;  // 0: none
};

// The driver page's eleven buttons and the software page's twelve, in the
// order the pages bind them.
const std::vector<LinkButton>& DriverLinks();
const std::vector<LinkButton>& SoftwareLinks();

std::string HostName(LinkHost host);
// "http://", the host and the path, exactly.
std::string LinkAddress(const LinkButton& link);
// The button with `id` in `links`, or null.
const LinkButton* FindLink(const std::vector<LinkButton>& links, int id);

}  // namespace tv
