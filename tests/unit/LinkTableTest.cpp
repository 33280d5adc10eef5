// The download pages' buttons: every caption, icon and exact address.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "links/LinkTable.h"
#include "platform/BuildSettings.h"

namespace tv {
namespace {

const std::string kDrivers = std::string("http://") + TV_DRIVER_HOST;
const std::string kSite = std::string("http://") + TV_SITE_HOST;

TEST(LinkTable, DriverButtons) {
    struct Row {
        int id;
        std::string caption, address;
    } rows[] = {
        {1012, "NVIDIA", kDrivers + "/drivers/260-104063-NVIDIA-GeForce-8M-GeForce-9M-GeForce-100M-GeForce-200M-185.81-Beta-For-Win7/"},
        {1013, "AMD-ATI", kDrivers + "/drivers/257-103094-AMD-Radeon-HD-4870-CATALYST-Control-Center-9.3-For-Vista-Vista-64-Win7-Win7-64"},
        {1014, "Intel", kDrivers + "/drivers/256-102775-Intel-Intel-Chipset-Device-Software-9.1.0.1014-Beta/"},
        {1015, "Realtek", kDrivers + "/drivers/257-102917-Realtek-ALC861-ALC880-ALC882-ALC883-ALC885/"},
        {1016, "Creative", kDrivers + "/drivers/257-102901-Creative-Audigy-Value-SE-LS-Live!-24-bit-1.04.0079-For-Win7/"},
        {1017, "C-Media", kDrivers + "/drivers/252-101161-Cmedia-CMI8788-CMI8787-HD-8.17.47-For-Vista-Vista-64/"},
        {1018, "Realtek", kDrivers + "/drivers/195-78278"},
        {1019, "Intel", kDrivers + "/drivers/258-103432-Intel-Intel-PRO100-1000-14.0-For-Vista-2008/"},
        {1021, "TP-LINK", std::string("http://") + TV_ADAPTER_HOST + "/surpport/list.asp?id=807"},
        {1022, "Marvell", kDrivers + "/drivers/215-86308-Marvell-Yukon-10.60.6.3-For-Win2000-XP-2003/"},
        {1020, "Broadcom", kDrivers + "/drivers/253-101419-Broadcom-NetXtreme-II-11.48.05-For-Win2000-XP-2003-Vista/"},
    };
    ASSERT_EQ(DriverLinks().size(), 11u);
    for (const Row& row : rows) {
        const LinkButton* link = FindLink(DriverLinks(), row.id);
        ASSERT_NE(link, nullptr) << row.id;
        EXPECT_EQ(link->caption, row.caption) << row.id;
        EXPECT_EQ(LinkAddress(*link), row.address) << row.id;
        EXPECT_EQ(link->iconId, 0) << row.id;
    }
    const int order[] = {1017, 1021, 1022, 1015, 1018, 1012, 1019, 1014, 1016, 1020, 1013};
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(DriverLinks()[i].id, order[i]);
}

TEST(LinkTable, SoftwareButtons) {
    struct Row {
        int id;
        std::string caption;
        int icon;
        std::string path;
    } rows[] = {
        {1019, "WinRAR", 148, "/setup/186.html"},     {1026, "迅雷下载", 149, "/setup/191.html"},
        {1025, "暴风影音", 138, "/software/284.html"}, {1024, "搜狗拼音", 147, "/setup/190.html"},
        {1027, "QQ 2009", 145, "/setup/189.html"},    {1020, "MSN 9.0", 143, "/software/226.html"},
        {1016, "金山词霸", 141, "/setup/188.html"},    {1018, "遨游浏览器", 142, "/setup/187.html"},
        {1021, "大智慧", 140, "/software/223.html"},   {1023, "DirectX运行库", 139, "/setup/285.html"},
        {1017, "Adobe Reader", 146, "/software/222.html"},
        {1022, "360安全卫士", 144, "/software/227.html"},
    };
    ASSERT_EQ(SoftwareLinks().size(), 12u);
    for (const Row& row : rows) {
        const LinkButton* link = FindLink(SoftwareLinks(), row.id);
        ASSERT_NE(link, nullptr) << row.id;
        EXPECT_EQ(link->caption, row.caption) << row.id;
        EXPECT_EQ(link->iconId, row.icon) << row.id;
        EXPECT_EQ(LinkAddress(*link), kSite + row.path) << row.id;
    }
    const int order[] = {1026, 1024, 1019, 1022, 1017, 1027, 1020, 1018, 1021, 1023, 1016, 1025};
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(SoftwareLinks()[i].id, order[i]);
    EXPECT_EQ(FindLink(SoftwareLinks(), 1012), nullptr);
}

}  // namespace
}  // namespace tv
