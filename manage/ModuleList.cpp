#include "manage/ModuleList.h"

#include <algorithm>
#include <cstdio>

#include "manage/CommandLineResolution.h"
#include "manage/FileVersionInfo.h"
#include "manage/KnownFiles.h"
#include "manage/SystemHelpers.h"
#include "platform/CodePageText.h"
#include "platform/SystemFiles.h"

namespace tv {

const char kProcessHintText[] = "提示: 【结束进程】操作，请先勾选列表中的复选框后再执行操作";
const char kProtectedProcessHint[] = "Trimvex 提示 【该文件是安全的,但注意Dll模块】";
const char kUnknownProcessHint[] = "没有相关信息，【使用右键菜单在线查找进程信息】";

std::string ProcessHint(const Platform& platform, const std::string& imageName,
                        const std::string& description, const std::string& path) {
    std::string known = LookUpKnownFile(imageName, description);
    if (!known.empty()) return known;
    if (!path.empty() && platform.systemFiles->IsProtected(path))
        return kProtectedProcessHint;
    return kUnknownProcessHint;
}

std::string FormatFileTime(const LocalTime& t) {
    char text[64];
    std::snprintf(text, sizeof(text), "%02d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

namespace {

enum class Folder { System, Windows };
struct KnownSafeModule {
    Folder folder;
    const char* file;
};

constexpr KnownSafeModule kKnownSafeModules[] = {
    {Folder::System, "\\msacm32.drv"},  {Folder::System, "\\wdmaud.drv"},
    {Folder::Windows, "\\AppPatch\\AcLayers.DLL"},
    {Folder::System, "\\imsc40w.ime"},  {Folder::System, "\\imaadp32.acm"},
    {Folder::System, "\\h323.tsp"},     {Folder::System, "\\ipconf.tsp"},
    {Folder::System, "\\ndptsp.tsp"},   {Folder::System, "\\kmddsp.tsp"},
    {Folder::System, "\\unimdm.tsp"},   {Folder::System, "\\wmploc.dll"},
    {Folder::System, "\\wmp.dll"},      {Folder::System, "\\wmpdxm.dll"},
    {Folder::System, "\\wups.dll"},     {Folder::System, "\\wups2.dll"},
    {Folder::System, "\\indicdll.dll"}, {Folder::System, "\\audiodev.dll"},
    {Folder::System, "\\xpsp2res.dll"},
};

}  // namespace

bool IsKnownSafeModule(const Platform& platform, const std::string& path) {
    for (const auto& known : kKnownSafeModules) {
        // The directories are read afresh for every comparison.
        std::string folder = known.folder == Folder::System
                                 ? GetSystemDirectoryPath(*platform.environment)
                                 : GetWindowsDirectoryPath(*platform.environment);
        if (text::EqualsNoCase(path, folder + known.file)) return true;
    }
    return false;
}

std::vector<ListRow> ListModuleRows(const Platform& platform, std::uint32_t id) {
    std::vector<ListRow> rows;
    std::vector<ModuleEntry> modules;
    if (!platform.processes->ListModules(id, &modules)) return rows;

    FileVersionInfo version(*platform.versions);
    for (const ModuleEntry& module : modules) {
        ListRow row(kModuleColumnCount);
        std::string path;
        NormalizeNtPath(*platform.environment, module.path, &path);
        row[kModulePath] = path;
        row[kModuleName] = module.name;
        if (version.Open(path)) {
            row[kModuleCompany] = version.GetCompanyName();
            row[kModuleVersion] = version.GetFileVersion();
            row[kModuleDescription] = version.GetFileDescription();
        }
        version.Release();
        bool safe = platform.systemFiles->IsProtected(path) ||
                    IsKnownSafeModule(platform, path);
        row[kModuleSafe] = safe ? kSafeYes : kSafeNo;
        row[kModuleSafeFlag] = safe ? "1" : "0";
        // A file that cannot be opened keeps its times and size empty.
        FileStamps stamps;
        if (platform.systemFiles->ReadStamps(path, &stamps)) {
            row[kModuleCreated] = FormatFileTime(stamps.created);
            row[kModuleWritten] = FormatFileTime(stamps.written);
            row[kModuleSize] = FormatGroupedNumber(stamps.sizeLow, ',', 3);
        }
        rows.push_back(std::move(row));
    }
    std::reverse(rows.begin(), rows.end());
    SortBySafeFlag(&rows, kModuleSafeFlag);
    return rows;
}

}  // namespace tv
