#include "platform/CodePageText.h"

#include <vector>

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

// A boundary at or before `pos` (at most the text's size) found by looking
// back only as far as the nearest byte that cannot lead a character: such a
// byte is a character of its own or the second byte of one, so a character
// starts right after it. A walk to `pos` from there costs as little as the
// double-byte run before `pos` is long, and nothing after a separator.
std::size_t AnchorAtOrBefore(std::string_view text, std::size_t pos) {
    while (pos > 0 && IsLeadByte(static_cast<unsigned char>(text[pos - 1]))) --pos;
    return pos;
}

// True when a character starts exactly at `pos` (or `pos` is the end).
bool IsBoundary(std::string_view text, std::size_t pos) {
    if (pos > text.size()) return false;
    std::size_t i = AnchorAtOrBefore(text, pos);
    while (i < pos) i += CharLength(text, i);
    return i == pos;
}

// The first character boundary at or after `from`.
std::size_t BoundaryFrom(std::string_view text, std::size_t from) {
    if (from >= text.size()) return text.size();
    std::size_t i = AnchorAtOrBefore(text, from);
    while (i < from) i += CharLength(text, i);
    return i;
}

// Tells, for positions asked in rising order, whether a character starts
// there, walking the text once from `start` (a boundary).
class BoundaryWalk {
public:
    BoundaryWalk(std::string_view text, std::size_t start) : text_(text), at_(start) {}
    bool IsBoundary(std::size_t pos) {
        while (at_ < pos && at_ < text_.size()) at_ += CharLength(text_, at_);
        return at_ == pos;
    }

private:
    std::string_view text_;
    std::size_t at_;
};

// Calls found(position) for every occurrence of the non-empty `needle` in
// `hay` starting at or after `start`, left to right, overlapping ones too,
// until it returns true. Knuth-Morris-Pratt: no byte of `hay` is looked at
// twice over, whatever the two texts hold.
template <typename Found>
void ForEachOccurrence(std::string_view hay, std::string_view needle, std::size_t start,
                       Found found) {
    // border[i]: the length of the longest proper prefix of needle[0..i]
    // that is also its suffix.
    std::vector<std::size_t> border(needle.size(), 0);
    for (std::size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k]) k = border[k - 1];
        if (needle[i] == needle[k]) ++k;
        border[i] = k;
    }
    for (std::size_t i = start, k = 0; i < hay.size(); ++i) {
        while (k > 0 && hay[i] != needle[k]) k = border[k - 1];
        if (hay[i] == needle[k]) ++k;
        if (k == needle.size()) {
            if (found(i + 1 - k)) return;
            k = border[k - 1];
        }
    }
}

// The first occurrence at or after the boundary `start` that starts and ends
// on boundaries.
std::size_t FindWhole(std::string_view hay, std::string_view needle, std::size_t start) {
    if (needle.empty()) return start;
    if (needle.size() > hay.size() - start) return npos;
    std::size_t result = npos;
    BoundaryWalk starts(hay, start), ends(hay, start);
    ForEachOccurrence(hay, needle, start, [&](std::size_t at) {
        if (!starts.IsBoundary(at) || !ends.IsBoundary(at + needle.size())) return false;
        result = at;
        return true;
    });
    return result;
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
    // Folding keeps every byte where it is and every character as long as
    // it was, so a match of the folded texts is a match of the texts.
    const std::size_t start = BoundaryFrom(hay, from);
    const std::size_t found = FindWhole(ToUpper(hay.substr(start)), ToUpper(needle), 0);
    return found == npos ? npos : start + found;
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
    return FindWhole(hay, needle, BoundaryFrom(hay, from));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    std::size_t copied = 0;  // text before this is in `out`
    BoundaryWalk starts(text, 0), ends(text, 0);
    ForEachOccurrence(text, from, 0, [&](std::size_t at) {
        // Left to right, never into what was just replaced.
        if (at < copied || !starts.IsBoundary(at) || !ends.IsBoundary(at + from.size()))
            return false;
        out.append(text.substr(copied, at - copied));
        out.append(to);
        copied = at + from.size();
        return false;
    });
    out.append(text.substr(copied));
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

std::string_view CutToChars(std::string_view text, std::size_t maxChars) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < maxChars; ++count)
        end += CharLength(text, end);
    return text.substr(0, end);
}

std::size_t PreviousCharStart(std::string_view text, std::size_t pos) {
    const std::size_t end = pos < text.size() ? pos : text.size();
    if (end == 0) return 0;
    std::size_t previous = AnchorAtOrBefore(text, end - 1);
    for (std::size_t i = previous; i < end; i += CharLength(text, i)) previous = i;
    return previous;
}

}  // namespace tv::text
