#include "restore/RegExport.h"

#include <cstddef>
#include <string_view>

#include "platform/WideText.h"

namespace tv {

namespace {

// The registry editor keeps each line of a hex list, with its closing
// backslash, within 80 columns.
constexpr std::size_t kLineWidth = 80;

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text != '\0'; ++text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    return out;
}

// Backslashes and quotes escaped, as in every quoted name and string.
std::u16string Quoted(const std::u16string& text) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

std::u16string HexByte(unsigned char byte) {
    const char16_t digits[] = u"0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 0xF]};
}

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// A string the quoted form gives back exactly: one final NUL, no other NUL
// and no line break (a .reg line cannot hold one).
bool FitsQuoted(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    return data.find_first_of(std::string("\0\r\n", 3)) == data.size() - 1;
}

// "hex:" for binary, "hex(n):" for every other type.
std::u16string HexPrefix(std::uint32_t type) {
    std::u16string prefix = u"hex";
    if (type != kRegBinary) {
        static const char16_t digits[] = u"0123456789abcdef";
        std::u16string number;
        std::uint32_t rest = type;
        do {
            number.insert(number.begin(), digits[rest & 0xF]);
            rest >>= 4;
        } while (rest != 0);
        prefix += u"(" + number + u")";
    }
    return prefix + u":";
}

}  // namespace

bool FitsRegLine(const std::string& name) {
    // None of the three bytes is ever the second byte of a double-byte
    // character.
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

bool FitsRegLine(const std::u16string& name) {
    return name.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string::npos;
}

const char* RootKeyName(RegHandle root) {
    switch (root) {
    case kHkeyClassesRoot: return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser: return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine: return "HKEY_LOCAL_MACHINE";
    default: return "";
    }
}

RegExportWriter::RegExportWriter(const TextCodec& codec) : codec_(codec) {
    Line(u"Windows Registry Editor Version 5.00");
}

std::u16string RegExportWriter::Wide(const std::string& text) const {
    return codec_.AnsiToWide(text);
}

void RegExportWriter::Line(const std::u16string& line) {
    text_ += line;
    text_ += u"\r\n";
}

void RegExportWriter::Comment(const std::string& text) { Comment(Wide(text)); }

void RegExportWriter::Comment(const std::u16string& text) {
    // Every line break (CR, LF or both) starts a new comment line, so
    // nothing in the text becomes a line of its own.
    std::u16string part;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            Line(u"; " + part);
            part.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            continue;
        }
        part += c;
    }
    Line(u"; " + part);
}

void RegExportWriter::Key(RegHandle root, const std::string& path) { Key(root, Wide(path)); }

void RegExportWriter::Key(RegHandle root, const std::u16string& path) {
    Line(u"");
    std::u16string name = Ascii(RootKeyName(root));
    if (!path.empty()) name += u"\\" + path;
    Line(u"[" + name + u"]");
}

void RegExportWriter::DeleteKey(RegHandle root, const std::string& path) {
    DeleteKey(root, Wide(path));
}

void RegExportWriter::DeleteKey(RegHandle root, const std::u16string& path) {
    Line(u"");
    Line(u"[-" + Ascii(RootKeyName(root)) + u"\\" + path + u"]");
}

std::u16string RegExportWriter::NamePart(const std::u16string& name) const {
    return name.empty() ? u"@" : Quoted(name);
}

std::u16string RegExportWriter::HexLine(std::u16string head, const std::string& bytes) const {
    // Continued lines start with two blanks and end with ",\".
    std::u16string out = head;
    std::size_t column = head.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::u16string item = HexByte(static_cast<unsigned char>(bytes[i]));
        if (i + 1 < bytes.size()) item += u',';
        if (column + item.size() + 1 > kLineWidth) {
            out += u"\\\r\n  ";
            column = 2;
        }
        out += item;
        column += item.size();
    }
    return out;
}

void RegExportWriter::Value(const std::string& name, std::uint32_t type, const std::string& data) {
    const std::u16string head = NamePart(Wide(name)) + u"=";
    if (type == kRegSz && FitsQuoted(data)) {
        Line(head + Quoted(Wide(data.substr(0, data.size() - 1))));
        return;
    }
    if (type == kRegDword && data.size() == 4) {
        std::u16string digits;
        for (int i = 3; i >= 0; --i) digits += HexByte(static_cast<unsigned char>(data[i]));
        Line(head + u"dword:" + digits);
        return;
    }
    std::string bytes = data;
    if (IsStringType(type)) {
        // The file holds strings as UTF-16; the importing editor converts
        // them back for the A-functions.
        bytes = utf16::ToBytes(Wide(data));
    }
    Line(HexLine(head + HexPrefix(type), bytes));
}

void RegExportWriter::DeleteValue(const std::string& name) { DeleteValue(Wide(name)); }

void RegExportWriter::DeleteValue(const std::u16string& name) {
    Line(NamePart(name) + u"=-");
}

void RegExportWriter::Value(const std::u16string& name, std::uint32_t type,
                            const std::string& wideData) {
    const std::u16string head = NamePart(name) + u"=";
    if (type == kRegSz && wideData.size() % 2 == 0) {
        std::u16string units = utf16::FromBytes(wideData);
        // Quoted only when that gives back exactly these units: one final
        // NUL, no other, no line break.
        if (!units.empty() && units.back() == u'\0' &&
            units.find_first_of(std::u16string(u"\0\r\n", 3)) == units.size() - 1) {
            units.pop_back();
            Line(head + Quoted(units));
            return;
        }
    }
    if (type == kRegDword && wideData.size() == 4) {
        std::u16string digits;
        for (int i = 3; i >= 0; --i) digits += HexByte(static_cast<unsigned char>(wideData[i]));
        Line(head + u"dword:" + digits);
        return;
    }
    Line(HexLine(head + HexPrefix(type), wideData));
}

std::string RegExportWriter::Bytes() const {
    return "\xFF\xFE" + utf16::ToBytes(text_ + u"\r\n");
}

}  // namespace tv
