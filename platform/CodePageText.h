// Text helpers for 8-bit text in code page 936 (GBK): a byte 0x81..0xFE
// starts a double-byte character and the byte after it (which may look like
// ASCII, '\\' or a letter included) belongs to that character. Case folding
// touches ASCII letters only; positions returned are always character
// boundaries. A lead byte at the very end counts as a character of its own.
// Every call takes time linear in its texts, whatever they hold; a `from`
// right after a single-byte character (a separator found before) is found
// again at once, so a loop stepping from separator to separator stays linear.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tv::text {

constexpr std::size_t npos = std::string_view::npos;

bool IsLeadByte(unsigned char byte);

std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);

// Ordinal comparison after folding ASCII letters to upper case (the way the
// registry orders names): negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// First match starting and ending on character boundaries at or after `from`.
std::size_t FindNoCase(std::string_view hay, std::string_view needle,
                       std::size_t from = 0);
// First / last single-byte character equal to `c`; never a trail byte.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);
std::size_t FindLastChar(std::string_view text, char c);

// Every exact (case-sensitive) match of `from` that starts and ends on
// character boundaries replaced by `to`, left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// The longest start of `text` of at most `maxBytes` bytes that does not cut
// a double-byte character in half.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes);
// The start of `text` holding its first `maxChars` characters (a double-byte
// character is one, as it is one UTF-16 unit); all of it when it is shorter.
std::string_view CutToChars(std::string_view text, std::size_t maxChars);
// Exact (case-sensitive) match starting and ending on character boundaries
// at or after `from`, so a trail byte is never taken for the start of a match.
std::size_t Find(std::string_view hay, std::string_view needle,
                 std::size_t from = 0);
// Where the character before position `pos` starts (0 when pos is 0).
std::size_t PreviousCharStart(std::string_view text, std::size_t pos);

}  // namespace tv::text
