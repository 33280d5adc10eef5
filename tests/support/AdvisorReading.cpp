#include "tests/support/AdvisorReading.h"

#include <windows.h>

namespace tv::testing {

std::string IndependentAdvice() {
    std::string report;
    long long best = 8000;
    std::string bestRoot;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        char fs[MAX_PATH + 1] = {};
        bool ntfs = GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, fs,
                                          sizeof(fs)) &&
                    lstrcmpiA(fs, "NTFS") == 0;
        ULARGE_INTEGER free{}, total{}, totalFree{};
        long long mib = GetDiskFreeSpaceExA(root, &free, &total, &totalFree)
                            ? static_cast<long long>(free.QuadPart >> 20)
                            : 0;
        if (mib > 0x7FFFFFFF) mib = 0x7FFFFFFF;
        if (letter == 'C') {
            if (!ntfs) report += "您的系统分区不为NTFS\r\n";
            if (mib < 400) report += "C分区可用空间太小\r\n";
        }
        if (mib > best) {
            best = mib;
            if (ntfs) bestRoot = root;
        }
    }
    return report + (bestRoot.empty() ? std::string("没有找到适合Win7安装的分区")
                                      : "推荐您安装 Windows 7 在分区 [ " + bestRoot + " ]");
}

bool ReportMatchesTheDrives(const std::function<std::string()>& report, std::string* last) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string before = IndependentAdvice();
        *last = report();
        std::string after = IndependentAdvice();
        if (*last == before || *last == after) return true;
    }
    return false;
}

}  // namespace tv::testing
