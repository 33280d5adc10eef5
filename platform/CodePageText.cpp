#include "platform/CodePageText.h"

namespace tv::text {
namespace {

// Bytes taken by the character starting at `pos`.
std::size_t CharLength(std::string_view text, std::size_t pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) &&
                   pos + 1 < text.size()
               ? 2
               : 1;
}

// Folds single-byte characters with `fold`, copying double-byte ones as is.
template <typename Folder>
std::string Fold(std::string_view text, Folder fold) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = CharLength(text, i);
        if (length == 1) out[i] = fold(out[i]);
        i += length;
    }
    return out;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// True when a character starts exactly at `pos` (or `pos` is the end).
bool IsBoundary(std::string_view text, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos && i < text.size()) i += CharLength(text, i);
    return i == pos;
}

// The first character boundary at or after `from`.
std::size_t BoundaryFrom(std::string_view text, std::size_t from) {
    std::size_t i = 0;
    while (i < from && i < text.size()) i += CharLength(text, i);
    return i;
}

}  // namespace

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string ToLower(std::string_view text) { return Fold(text, Lower); }
std::string ToUpper(std::string_view text) { return Fold(text, Upper); }

int CompareNoCase(std::string_view a, std::string_view b) {
    const int order = ToUpper(a).compare(ToUpper(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return prefix.size() <= text.size() && IsBoundary(text, prefix.size()) &&
           EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (suffix.size() > text.size()) return false;
    const std::size_t start = text.size() - suffix.size();
    return IsBoundary(text, start) && EqualsNoCase(text.substr(start), suffix);
}

std::size_t FindNoCase(std::string_view hay, std::string_view needle,
                       std::size_t from) {
    if (from > hay.size()) return npos;
    for (std::size_t i = BoundaryFrom(hay, from);
         i + needle.size() <= hay.size(); i += CharLength(hay, i)) {
        if (StartsWithNoCase(hay.substr(i), needle)) return i;
    }
    return npos;
}

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
    for (std::size_t i = BoundaryFrom(text, from); i < text.size();
         i += CharLength(text, i)) {
        if (CharLength(text, i) == 1 && text[i] == c) return i;
    }
    return npos;
}

std::size_t FindLastChar(std::string_view text, char c) {
    std::size_t found = npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (CharLength(text, i) == 1 && text[i] == c) found = i;
    }
    return found;
}

std::size_t Find(std::string_view hay, std::string_view needle,
                 std::size_t from) {
    if (from > hay.size()) return npos;
    for (std::size_t i = BoundaryFrom(hay, from);
         i + needle.size() <= hay.size(); i += CharLength(hay, i)) {
        if (hay.compare(i, needle.size(), needle) == 0 &&
            IsBoundary(hay.substr(i), needle.size()))
            return i;
    }
    return npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, from.size(), from) == 0 && IsBoundary(text, i + from.size())) {
            out.append(to);
            i += from.size();
            continue;
        }
        const std::size_t length = CharLength(text, i);
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharLength(text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return text.substr(0, end);
}

std::size_t PreviousCharStart(std::string_view text, std::size_t pos) {
    std::size_t previous = 0;
    for (std::size_t i = 0; i < pos && i < text.size(); i += CharLength(text, i))
        previous = i;
    return previous;
}

}  // namespace tv::text
