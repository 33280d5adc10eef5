// libFuzzer target: the code-page text helpers and the command-line
// resolvers over long texts. The input's first line is repeated to 256 KiB;
// the rest is the needle. Work that grows faster than the text (a search
// begun again from the start for every match or every separator) runs into
// the fuzzer's -timeout and fails the run; AddressSanitizer watches the rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "manage/CommandLineResolution.h"
#include "manage/KnownFiles.h"
#include "platform/CodePageText.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"

namespace {

constexpr std::size_t kLongText = 256 * 1024;

// Finds no file. The in-memory tree walks a path's folders one by one, which
// on a path of thousands of folders is the fake's own cost, not the
// resolver's; the system answers such a path at once.
struct NoFiles : tv::FakeFileSystem {
    bool Exists(const std::string&) const override { return false; }
    bool ExistsW(const std::u16string&) const override { return false; }
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string unit = input.substr(0, cut);
    const std::string needle = cut == std::string::npos ? "" : input.substr(cut + 1);
    std::string text;
    if (!unit.empty()) {
        text.reserve(kLongText + unit.size());
        while (text.size() < kLongText) text += unit;
    }

    static tv::FakeEnvironment environment;
    static NoFiles files;

    namespace t = tv::text;
    (void)tv::ResolveAutostartCommand(environment, files, text);
    Check(tv::ResolveServiceImagePath(text).size() >= 4);
    std::string destination;
    tv::NormalizeNtPath(environment, text, &destination);
    (void)tv::LookUpKnownFile(text, needle);

    const std::string lower = t::ToLower(text);
    Check(lower.size() == text.size() && t::CompareNoCase(text, lower) == 0);
    Check(t::EqualsNoCase(t::ToUpper(text), lower));
    (void)t::FindNoCase(text, needle);
    (void)t::FindNoCase(text, needle, text.size() / 2);
    const std::size_t found = t::Find(text, needle, text.size() / 3);
    if (found != t::npos) Check(text.compare(found, needle.size(), needle) == 0);
    (void)t::StartsWithNoCase(text, needle);
    (void)t::EndsWithNoCase(text, needle);
    Check(t::CutToBytes(text, text.size() / 2).size() <= text.size() / 2);
    Check(t::CutToChars(text, tv::kMaxCommandLineChars).size() <= 2 * tv::kMaxCommandLineChars);
    (void)t::PreviousCharStart(text, text.size());
    (void)t::FindLastChar(text, '\\');
    if (!needle.empty()) {
        Check(t::ReplaceAll(text, needle, needle) == text);
        const std::string gone = t::ReplaceAll(text, needle, "");
        Check(gone.size() <= text.size());
        // From separator to separator, as paths are split.
        std::size_t parts = 0;
        for (std::size_t at = t::FindChar(text, needle[0]); at != t::npos;
             at = t::FindChar(text, needle[0], at + 1)) {
            Check(text[at] == needle[0]);
            ++parts;
        }
        Check(parts <= text.size());
    }
    return 0;
}
