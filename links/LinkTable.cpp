#include "links/LinkTable.h"

#include "platform/BuildSettings.h"

namespace tv {

const std::vector<LinkButton>& DriverLinks() {
    static const std::vector<LinkButton> links = {
        {1017, "C-Media",
         "/drivers/252-101161-Cmedia-CMI8788-CMI8787-HD-8.17.47-For-Vista-Vista-64/",
         LinkHost::DriverSite, 0},
        {1021, "TP-LINK", "/surpport/list.asp?id=807", LinkHost::AdapterMaker, 0},
        {1022, "Marvell", "/drivers/215-86308-Marvell-Yukon-10.60.6.3-For-Win2000-XP-2003/",
         LinkHost::DriverSite, 0},
        {1015, "Realtek", "/drivers/257-102917-Realtek-ALC861-ALC880-ALC882-ALC883-ALC885/",
         LinkHost::DriverSite, 0},
        {1018, "Realtek", "/drivers/195-78278", LinkHost::DriverSite, 0},
        {1012, "NVIDIA",
         "/drivers/260-104063-NVIDIA-GeForce-8M-GeForce-9M-GeForce-100M-GeForce-200M-185.81-Beta-For-Win7/",
         LinkHost::DriverSite, 0},
        {1019, "Intel", "/drivers/258-103432-Intel-Intel-PRO100-1000-14.0-For-Vista-2008/",
         LinkHost::DriverSite, 0},
        {1014, "Intel", "/drivers/256-102775-Intel-Intel-Chipset-Device-Software-9.1.0.1014-Beta/",
         LinkHost::DriverSite, 0},
        {1016, "Creative",
         "/drivers/257-102901-Creative-Audigy-Value-SE-LS-Live!-24-bit-1.04.0079-For-Win7/",
         LinkHost::DriverSite, 0},
        {1020, "Broadcom",
         "/drivers/253-101419-Broadcom-NetXtreme-II-11.48.05-For-Win2000-XP-2003-Vista/",
         LinkHost::DriverSite, 0},
        {1013, "AMD-ATI",
         "/drivers/257-103094-AMD-Radeon-HD-4870-CATALYST-Control-Center-9.3-For-Vista-Vista-64-Win7-Win7-64",
         LinkHost::DriverSite, 0},
    };
    return links;
}

const std::vector<LinkButton>& SoftwareLinks() {
    static const std::vector<LinkButton> links = {
        {1026, "迅雷下载", "/setup/191.html", LinkHost::ProductSite, 149},
        {1024, "搜狗拼音", "/setup/190.html", LinkHost::ProductSite, 147},
        {1019, "WinRAR", "/setup/186.html", LinkHost::ProductSite, 148},
        {1022, "360安全卫士", "/software/227.html", LinkHost::ProductSite, 144},
        {1017, "Adobe Reader", "/software/222.html", LinkHost::ProductSite, 146},
        {1027, "QQ 2009", "/setup/189.html", LinkHost::ProductSite, 145},
        {1020, "MSN 9.0", "/software/226.html", LinkHost::ProductSite, 143},
        {1018, "遨游浏览器", "/setup/187.html", LinkHost::ProductSite, 142},
        {1021, "大智慧", "/software/223.html", LinkHost::ProductSite, 140},
        {1023, "DirectX运行库", "/setup/285.html", LinkHost::ProductSite, 139},
        {1016, "金山词霸", "/setup/188.html", LinkHost::ProductSite, 141},
        {1025, "暴风影音", "/software/284.html", LinkHost::ProductSite, 138},
    };
    return links;
}

std::string HostName(LinkHost host) {
    switch (host) {
    case LinkHost::DriverSite:
        return TV_DRIVER_HOST;
    case LinkHost::AdapterMaker:
        return TV_ADAPTER_HOST;
    case LinkHost::ProductSite:
    default:
        return TV_SITE_HOST;
    }
}

std::string LinkAddress(const LinkButton& link) {
    return "http://" + HostName(link.host) + link.path;
}

const LinkButton* FindLink(const std::vector<LinkButton>& links, int id) {
    for (const LinkButton& link : links)
        if (link.id == id) return &link;
    return nullptr;
}

}  // namespace tv
