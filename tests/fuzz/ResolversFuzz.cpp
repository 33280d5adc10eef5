// libFuzzer target: arbitrary bytes through the three text resolvers, the
// known program table and the code-page text helpers. Nothing may crash or
// read out of bounds (AddressSanitizer watches), and the helpers' promises
// are checked on every input.
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

void Check(bool condition) {
    if (!condition) std::abort();
}

bool OnBoundary(std::string_view text, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos) i += tv::text::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    return i == pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The first line is the text, the rest a needle for the searches.
    const std::size_t cut = input.find('\n');
    const std::string text = input.substr(0, cut);
    const std::string needle = cut == std::string::npos ? "" : input.substr(cut + 1);

    static tv::FakeEnvironment environment;
    static tv::FakeFileSystem files = [] {
        tv::FakeFileSystem f;
        f.AddFile("C:\\Windows\\ctfmon.exe");
        f.AddFile("C:\\Windows\\system32\\Wbem\\wmi.dll");
        return f;
    }();

    std::string resolved = tv::ResolveAutostartCommand(environment, files, text);
    (void)resolved;
    std::string service = tv::ResolveServiceImagePath(text);
    Check(service.size() >= 4);
    std::string destination = "unchanged";
    tv::NormalizeNtPath(environment, text, &destination);
    Check(!destination.empty() || text == "\\??\\");
    (void)tv::LookUpKnownFile(text, needle);

    namespace t = tv::text;
    const std::string lower = t::ToLower(text);
    Check(lower.size() == text.size() && t::ToUpper(text).size() == text.size());
    Check(t::EqualsNoCase(lower, text) && t::CompareNoCase(text, lower) == 0);
    for (std::size_t found : {t::Find(text, needle), t::FindNoCase(text, needle)}) {
        if (found == t::npos) continue;
        Check(found + needle.size() <= text.size() && OnBoundary(text, found));
    }
    std::size_t exact = t::Find(text, needle);
    if (exact != t::npos) Check(text.compare(exact, needle.size(), needle) == 0);
    if (!needle.empty()) {
        Check(t::ReplaceAll(text, needle, needle) == text);
        (void)t::StartsWithNoCase(text, needle);
        (void)t::EndsWithNoCase(text, needle);
        std::size_t c = t::FindChar(text, needle[0]);
        if (c != t::npos) Check(text[c] == needle[0] && OnBoundary(text, c));
        std::size_t last = t::FindLastChar(text, needle[0]);
        if (last != t::npos) Check(text[last] == needle[0] && last >= c);
    }
    for (std::size_t pos : {std::size_t(0), text.size() / 2, text.size()}) {
        std::size_t previous = t::PreviousCharStart(text, pos);
        Check(previous <= pos && OnBoundary(text, previous));
    }
    return 0;
}
