#include <gtest/gtest.h>

#include <string>

#include "manage/KnownFiles.h"

namespace tv {
namespace {

TEST(KnownFiles, LookUpMatchesNameAndDescriptionIgnoringCase) {
    struct Case {
        const char* file;
        const char* description;
        const char* expected;
    } cases[] = {
        {"QQ.EXE", "qq", "可能是腾讯 QQ 即时通讯工具"},
        {"qq.exe", "QQ", "可能是腾讯 QQ 即时通讯工具"},
        {"qq.exe", "QQ2009", ""},
        {"qq.exe", "", ""},
        {"qq.exe", "QQ ", ""},
        {"RavMon.exe", "", "瑞星杀毒实时监控文件"},
        {"RAVMON.EXE", "anything at all", "瑞星杀毒实时监控文件"},
        {"Thunder.exe", "", "讯雷下载工具"},
        {"vmware-authd.exe", "VMware Authorization Service", "VMWare 虚拟机 身份验证"},
        {"explorer.exe", "Windows Explorer", ""},
        {"explorer.exe", "", ""},
        {"C:\\Program Files\\Tencent\\qq.exe", "QQ", ""},
        {" qq.exe", "QQ", ""},
        {"mplayerc.exe", "MEDIA PLAYER CLASSIC", "暴风影音视频播放器器"},
        {"PFW.exe", "天网防火墙个人版", "天网防火墙个人版文件"},
        {"PFW.exe", "天网防火墙", ""},
        {"NMFirstStart.exe", "Nero Home", "Nero 刻录软件文件"},
        {"NMIndexStoreSvr.exe", "nero home", "Nero 刻录软件服务文件"},
        {"EXCEL.EXE", "Microsoft Office Excel", "Microsoft Office 办公组件 --- Excel"},
        {"KVMonXP.kxp", "KVmonxp", "江民 KV 杀毒系统监控文件"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LookUpKnownFile(c.file, c.description), c.expected)
            << c.file << " / " << c.description;
    }
}

TEST(KnownFiles, TableHoldsFortyRowsInOrder) {
    ASSERT_EQ(KnownFileTable.size(), 40u);
    EXPECT_STREQ(KnownFileTable[0].fileName, "KVSrvXP.exe");
    EXPECT_STREQ(KnownFileTable[13].fileName, "RavTask.exe");
    EXPECT_EQ(KnownFileTable[13].description, nullptr);
    EXPECT_STREQ(KnownFileTable[39].friendlyText, "VMWare 虚拟机 身份验证");
    // Every row can be found by its own file name and description, so no
    // earlier row shadows a later one.
    for (const KnownFile& row : KnownFileTable) {
        EXPECT_EQ(LookUpKnownFile(row.fileName, row.description ? row.description : ""),
                  row.friendlyText)
            << row.fileName;
    }
}

}  // namespace
}  // namespace tv
