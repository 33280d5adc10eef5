// What the help page does: the site search, the support mail, the Windows 7
// hardware requirements and the install advisor.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "platform/Prompter.h"

namespace tv {

class Drives;
class TextCodec;

extern const char kEmptySearchMessage[];
extern const char kHardwareRequirementsText[];
extern const char kAdvisorDefaultText[];
// Told, followed by the folder's path, when the restore folder cannot be had.
extern const char kNoRestoreFolderMessage[];

// The line at the top of the page: what the search covers, the site's host
// and the support address.
std::string HelpBannerText();

std::string SupportMailAddress();
std::string RequirementsArticleAddress();
// The site-search address for words already encoded for an address.
std::string SiteSearchAddress(const std::string& encodedWords);

// Search words of two bytes or more are searched (one Chinese character is
// two bytes); a single byte or none is refused.
bool SearchWordsAccepted(const std::string& words);
// UTF-16 text as UTF-8, every byte outside the unreserved ASCII set as %XX.
std::string PercentEncodeUtf8(const std::u16string& text);

// The page's message boxes: the product name as caption, the program's icon.
Prompt HelpMessage(const std::string& text);

// `words` is the edit box's 8-bit text in the system code page.
void SiteSearch(const Platform& platform, const TextCodec& codec, const std::string& words);
void SupportMail(const Platform& platform);
void ShowHardwareRequirements(const Platform& platform);
// Opens the folder of the restore files in the user's own shell (made first,
// protected, when there is none yet), so the user can find them.
void OpenRestoreFolder(const Platform& platform);

// The probes of the install advisor.
std::string VolumeFileSystemName(const Drives& drives, const std::string& root);
std::int32_t DriveFreeMegabytes(const Drives& drives, const std::string& root);

// Looks at the fixed drives C: to Z: and returns the advisor's report.
std::string RecommendPartition(const Drives& drives);

}  // namespace tv
