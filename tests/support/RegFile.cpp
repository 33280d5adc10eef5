#include "tests/support/RegFile.h"

#include <cstdint>
#include <vector>

#include "platform/WideText.h"

namespace tv {
namespace {

using Text = std::u16string_view;

struct Operation {
    enum class Kind { kOpenKey, kDeleteTree, kSetValue, kDeleteValue };
    Operation(Kind k, int n) : kind(k), line(n) {}
    Kind kind;
    int line;
    RegHandle root = 0;
    std::string path;  // for keys
    std::string name;  // for values
    std::uint32_t type = kRegNone;
    std::string data;
};

bool Fail(RegFileError* error, int line, std::string message) {
    if (error != nullptr) *error = RegFileError{line, std::move(message)};
    return false;
}

int LineOf(const std::u16string& text) {
    int line = 1;
    for (char16_t c : text) line += c == u'\n';
    return line;
}

// Appends the UTF-8 sequence starting at `bytes[*pos]`; false if malformed.
bool DecodeUtf8Char(std::string_view bytes, std::size_t* pos,
                    std::u16string* out) {
    const auto lead = static_cast<unsigned char>(bytes[*pos]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1
                    : lead >= 0xE0 && lead < 0xF0   ? 2
                    : lead >= 0xF0 && lead < 0xF5   ? 3
                                                    : -1;
    if (extra < 0 || *pos + extra >= bytes.size()) return false;
    std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(bytes[*pos + i]);
        if ((next & 0xC0) != 0x80) return false;
        code = code << 6 | (next & 0x3F);
    }
    static const std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF ||
        (code >= 0xD800 && code < 0xE000)) {
        return false;
    }
    if (code >= 0x10000) {
        code -= 0x10000;
        out->push_back(static_cast<char16_t>(0xD800 | code >> 10));
        out->push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
    } else {
        out->push_back(static_cast<char16_t>(code));
    }
    *pos += extra + 1;
    return true;
}

bool Decode(std::string_view bytes, const TextCodec& codec,
            std::u16string* text, RegFileError* error) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        *text += utf16::FromBytes(bytes.substr(2));
        if (bytes.size() % 2 != 0) {
            return Fail(error, LineOf(*text), "odd number of bytes in UTF-16 text");
        }
        return true;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        for (std::size_t i = 3; i < bytes.size();) {
            if (!DecodeUtf8Char(bytes, &i, text)) {
                return Fail(error, LineOf(*text), "malformed UTF-8");
            }
        }
        return true;
    }
    *text = codec.AnsiToWide(std::string(bytes));
    return true;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

Text TrimLeft(Text s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

Text TrimRight(Text s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Nothing but blanks and perhaps a comment.
bool IsEndOfLine(Text s) {
    s = TrimLeft(s);
    return s.empty() || s.front() == u';';
}

bool StartsWith(Text s, Text prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EqualsAsciiNoCase(Text a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (utf16::FoldAscii(a[i]) != static_cast<char16_t>(b[i])) return false;
    }
    return true;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads 1 to 8 hex digits from the front of `s`.
bool ReadHexNumber(Text* s, std::uint32_t* value) {
    std::size_t n = 0;
    *value = 0;
    while (n < s->size() && HexDigit((*s)[n]) >= 0) {
        *value = *value << 4 | static_cast<std::uint32_t>(HexDigit((*s)[n]));
        ++n;
    }
    s->remove_prefix(n);
    return n >= 1 && n <= 8;
}

// Reads a quoted string with \\ and \" escapes from the front of `s`.
bool ReadQuoted(Text* s, std::u16string* out) {
    if (s->empty() || s->front() != u'"') return false;
    out->clear();
    for (std::size_t i = 1; i < s->size(); ++i) {
        const char16_t c = (*s)[i];
        if (c == u'"') {
            s->remove_prefix(i + 1);
            return true;
        }
        if (c == u'\\') {
            if (++i == s->size()) return false;
            if ((*s)[i] != u'\\' && (*s)[i] != u'"') return false;
        }
        out->push_back((*s)[i]);
    }
    return false;
}

// Comma-separated bytes of one or two hex digits; an empty list is allowed.
bool ReadHexList(Text s, std::string* bytes) {
    s = TrimRight(TrimLeft(s));
    while (!s.empty()) {
        std::size_t n = 0;
        int value = 0;
        while (n < s.size() && n < 3 && HexDigit(s[n]) >= 0) {
            value = value * 16 + HexDigit(s[n]);
            ++n;
        }
        if (n == 0 || n > 2) return false;
        bytes->push_back(static_cast<char>(value));
        s = TrimLeft(s.substr(n));
        if (s.empty()) break;
        if (s.front() != u',') return false;
        s = TrimLeft(s.substr(1));
        if (s.empty()) return false;
    }
    return true;
}

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

class Parser {
public:
    Parser(const TextCodec& codec, std::vector<Operation>* ops,
           RegFileError* error)
        : codec_(codec), ops_(ops), error_(error) {}

    bool Parse(const std::u16string& text) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(u'\n', start);
            if (end == std::u16string::npos) end = text.size();
            Text line(text.data() + start, end - start);
            if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
        const Text header = TrimRight(lines_[0]);
        if (header == u"Windows Registry Editor Version 5.00") {
            wide_hex_ = true;
        } else if (header != u"REGEDIT4") {
            return Fail(error_, 1, "missing registry editor header");
        }
        for (next_ = 1; next_ < lines_.size();) {
            const int number = static_cast<int>(next_) + 1;
            const Text line = TrimLeft(lines_[next_++]);
            if (IsEndOfLine(line)) continue;
            const bool ok = line.front() == u'['                       ? ParseKey(line, number)
                            : line.front() == u'"' || line.front() == u'@' ? ParseValue(line, number)
                                                                        : false;
            if (!ok) return Fail(error_, number, "malformed line");
        }
        return true;
    }

private:
    bool ParseKey(Text line, int number) {
        line = TrimRight(line);
        if (line.size() < 2 || line.back() != u']') return false;
        Text inner = line.substr(1, line.size() - 2);
        Operation op(Operation::Kind::kOpenKey, number);
        if (!inner.empty() && inner.front() == u'-') {
            op.kind = Operation::Kind::kDeleteTree;
            inner.remove_prefix(1);
        }
        const std::size_t slash = inner.find(u'\\');
        const Text root = inner.substr(0, slash);
        if (EqualsAsciiNoCase(root, "HKEY_CLASSES_ROOT") || EqualsAsciiNoCase(root, "HKCR")) {
            op.root = kHkeyClassesRoot;
        } else if (EqualsAsciiNoCase(root, "HKEY_CURRENT_USER") || EqualsAsciiNoCase(root, "HKCU")) {
            op.root = kHkeyCurrentUser;
        } else if (EqualsAsciiNoCase(root, "HKEY_LOCAL_MACHINE") || EqualsAsciiNoCase(root, "HKLM")) {
            op.root = kHkeyLocalMachine;
        } else {
            return false;
        }
        if (slash != Text::npos) op.path = Ansi(inner.substr(slash + 1));
        if (op.kind == Operation::Kind::kDeleteTree && op.path.empty()) return false;
        in_key_ = op.kind == Operation::Kind::kOpenKey;
        ops_->push_back(std::move(op));
        return true;
    }

    bool ParseValue(Text line, int number) {
        if (!in_key_) return false;
        Operation op(Operation::Kind::kSetValue, number);
        std::u16string text;
        if (line.front() == u'@') {
            line.remove_prefix(1);
        } else if (ReadQuoted(&line, &text)) {
            op.name = Ansi(text);
        } else {
            return false;
        }
        line = TrimLeft(line);
        if (line.empty() || line.front() != u'=') return false;
        line = TrimLeft(line.substr(1));

        if (ReadQuoted(&line, &text)) {
            op.type = kRegSz;
            op.data = Ansi(text);
            op.data.push_back('\0');
        } else if (StartsWith(line, u"-")) {
            op.kind = Operation::Kind::kDeleteValue;
            line.remove_prefix(1);
        } else if (StartsWith(line, u"dword:")) {
            line.remove_prefix(6);
            std::uint32_t value = 0;
            if (!ReadHexNumber(&line, &value)) return false;
            op.type = kRegDword;
            for (int i = 0; i < 4; ++i) op.data.push_back(static_cast<char>(value >> (8 * i)));
        } else if (StartsWith(line, u"hex")) {
            return ParseHex(line.substr(3), &op);
        } else {
            return false;
        }
        if (!IsEndOfLine(line)) return false;
        ops_->push_back(std::move(op));
        return true;
    }

    // After "hex": "(type)" or nothing, then ':' and the byte list, which
    // continues on the next line while a line ends with a backslash.
    bool ParseHex(Text rest, Operation* op) {
        op->type = kRegBinary;
        if (StartsWith(rest, u"(")) {
            rest.remove_prefix(1);
            if (!ReadHexNumber(&rest, &op->type) || !StartsWith(rest, u")")) return false;
            rest.remove_prefix(1);
        }
        if (!StartsWith(rest, u":")) return false;
        rest.remove_prefix(1);
        std::u16string list;
        for (;;) {
            rest = rest.substr(0, rest.find(u';'));
            rest = TrimRight(rest);
            if (rest.empty() || rest.back() != u'\\') break;
            list.append(rest.substr(0, rest.size() - 1));
            if (next_ == lines_.size()) return false;
            rest = TrimLeft(lines_[next_++]);
        }
        list.append(rest);
        std::string bytes;
        if (!ReadHexList(list, &bytes)) return false;
        if (wide_hex_ && IsStringType(op->type)) {
            if (bytes.size() % 2 != 0) return false;
            bytes = Ansi(utf16::FromBytes(bytes));
        }
        op->data = std::move(bytes);
        ops_->push_back(std::move(*op));
        return true;
    }

    std::string Ansi(Text text) const { return codec_.WideToAnsi(std::u16string(text)); }

    const TextCodec& codec_;
    std::vector<Operation>* ops_;
    RegFileError* error_;
    std::vector<Text> lines_;
    std::size_t next_ = 0;
    bool wide_hex_ = false;
    bool in_key_ = false;
};

}  // namespace

bool ImportRegFile(Registry& registry, std::string_view bytes,
                   const TextCodec& codec, RegFileError* error) {
    std::u16string text;
    if (!Decode(bytes, codec, &text, error)) return false;
    std::vector<Operation> ops;
    if (!Parser(codec, &ops, error).Parse(text)) return false;

    RegKey current;
    for (const Operation& op : ops) {
        long rc = kErrorSuccess;
        switch (op.kind) {
            case Operation::Kind::kOpenKey: {
                current.Close();
                RegHandle handle = 0;
                rc = registry.CreateKey(op.root, op.path, &handle);
                if (rc == kErrorSuccess) current = RegKey(registry, handle);
                break;
            }
            case Operation::Kind::kDeleteTree:
                current.Close();
                rc = DeleteKeyTree(registry, op.root, op.path);
                if (rc == kErrorFileNotFound) rc = kErrorSuccess;
                break;
            case Operation::Kind::kSetValue:
                rc = current.Set(op.name, op.type, op.data.data(),
                                 static_cast<std::uint32_t>(op.data.size()));
                break;
            case Operation::Kind::kDeleteValue:
                rc = current.DeleteValue(op.name);
                if (rc == kErrorFileNotFound) rc = kErrorSuccess;
                break;
        }
        if (rc != kErrorSuccess) {
            return Fail(error, op.line,
                        "registry call failed with error " + std::to_string(rc));
        }
    }
    return true;
}

long DeleteKeyTree(Registry& registry, RegHandle parent,
                   const std::string& path) {
    if (path.empty()) return kErrorInvalidParameter;
    RegHandle handle = 0;
    long rc = registry.OpenKey(parent, path, kKeyAllAccess, &handle);
    if (rc != kErrorSuccess) return rc;
    {
        const RegKey key(registry, handle);
        for (const std::string& name : key.SubKeyNames()) {
            rc = DeleteKeyTree(registry, key.Handle(), name);
            if (rc != kErrorSuccess) return rc;
        }
    }
    return registry.DeleteKey(parent, path);
}

}  // namespace tv
