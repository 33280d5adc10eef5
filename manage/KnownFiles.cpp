#include "manage/KnownFiles.h"

#include "platform/CodePageText.h"

namespace tv {

const std::array<KnownFile, 40> KnownFileTable = {{
    {"KVSrvXP.exe", "A Service host", "江民 KV 杀毒系统服务文件"},
    {"KVMonXP.kxp", "KVmonxp", "江民 KV 杀毒系统监控文件"},
    {"KVCenter.kxp", "KVCenter Module", "江民 KV 杀毒系统内核文件"},
    {"mdm.exe", "Machine Debug Manager", "Visual Studio 调试支持文件"},
    {"PFW.exe", "天网防火墙个人版", "天网防火墙个人版文件"},
    {"ylive.exe", "YLive", "雅虎助手在线升级文件"},
    {"yassistse.exe", "AssistSetting", "雅虎助手程序文件"},
    {"TIMPlatform.exe", "TIMPlatform", "腾讯 QQ TM 即时通讯平台支持文件"},
    {"KPFW32.EXE", "Kingsoft Personal Firewall Main Program", "金山防火墙程序文件"},
    {"KMailMon.EXE", "Kingsoft Antivirus Mail Monitor", "金山毒霸邮件监控程序文件"},
    {"KPFWSvc.EXE", "Kingsoft Firewall Service", "金山网镖个人防火墙服务文件"},
    {"KAVStart.EXE", "Kingsoft Security Center", "金山毒霸安全中心程序文件"},
    {"KWatch.EXE", "Kingsoft Antivirus KWatch Service", "金山毒霸实时监控服务文件"},
    {"RavTask.exe", nullptr, "瑞星杀毒实时监控文件"},
    {"CCenter.exe", nullptr, "瑞星杀毒程序文件"},
    {"RavStub.exe", nullptr, "瑞星杀毒引导程序文件"},
    {"RavMonD.exe", nullptr, "瑞星杀毒实时监控文件"},
    {"RavMon.exe", nullptr, "瑞星杀毒实时监控文件"},
    {"NMIndexStoreSvr.exe", "Nero Home", "Nero 刻录软件服务文件"},
    {"NMFirstStart.exe", "Nero Home", "Nero 刻录软件文件"},
    {"qq.exe", "QQ", "可能是腾讯 QQ 即时通讯工具"},
    {"TM.exe", nullptr, "可能是腾讯 TM 即时通讯工具"},
    {"Maxthon.exe", "Maxthon Web Browser", "遨游网页浏览器"},
    {"Winrar.exe", nullptr, "WinRAR 压缩软件"},
    {"mplayerc.exe", "Media Player Classic", "暴风影音视频播放器器"},
    {"flashget.exe", "flashget", "flashget 网际快车下载工具"},
    {"BitComet.exe", "BitComet - a BitTorrent Client", "BitComet BT 下载工具"},
    {"Thunder.exe", nullptr, "讯雷下载工具"},
    {"daemon.exe", "Virtual DAEMON Manager", "DAEMON 虚拟光驱软件"},
    {"eMule.exe", "eMule", "eMule 电螺 p2p 资源共享工具"},
    {"QQGame.exe", "QQGame", "QQ 游戏大厅"},
    {"googletalk.exe", "Google Talk", "Google Talk 即时通讯"},
    {"msnmsgr.exe", "MSN Messenger", "MSN Messenger 即时通讯"},
    {"EXCEL.EXE", "Microsoft Office Excel", "Microsoft Office 办公组件 --- Excel"},
    {"WINWORD.EXE", "Microsoft Office Word", "Microsoft Office 办公组件 --- Word"},
    {"vmware.exe", "VMware Application", "VMWare 虚拟机 程序"},
    {"vmware-vmx.exe", "VMware Workstation VMX", "VMWare 虚拟机 工作站"},
    {"vmnetdhcp.exe", "VMware VMnet DHCP service", "VMWare 虚拟机 动态域名分配 DHCP"},
    {"vmnat.exe", "VMware NAT Service", "VMWare 虚拟机 NAT 网络地址翻译"},
    {"vmware-authd.exe", "VMware Authorization Service", "VMWare 虚拟机 身份验证"},
}};

std::string LookUpKnownFile(const std::string& fileName, const std::string& description) {
    for (const KnownFile& row : KnownFileTable) {
        if (!text::EqualsNoCase(row.fileName, fileName)) continue;
        if (row.description && !text::EqualsNoCase(row.description, description)) continue;
        return row.friendlyText;
    }
    return {};
}

}  // namespace tv
