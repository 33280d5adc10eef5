// Writes text in the registry editor's export format, the counterpart of
// RegFile's reader: "Windows Registry Editor Version 5.00", UTF-16LE with a
// byte-order mark, CRLF line ends. Names, paths and data come in either as
// the W-functions give them (exact) or as the A-functions give them (ANSI
// code page, converted to UTF-16).
//
// Every value is written so that importing it stores the same type and the
// same bytes again: a plain string as "text"; a string the quoted form
// cannot carry (no final NUL, embedded NULs, line breaks) as hex(1); a
// DWORD of other than four bytes as hex(4); expandable and multi-strings as
// hex(2) and hex(7); binary as hex; any other type as hex(n).
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace tv {

// A key path or value name a line of the file can carry: no line break in
// it (importing would cut the line there, or drop the entry), and no NUL
// (every call that takes the name stops there: what is read, and what an
// import would write, is another entry).
bool FitsRegLine(const std::string& name);
bool FitsRegLine(const std::u16string& name);

// "HKEY_LOCAL_MACHINE" and the other two roots; empty for anything else.
const char* RootKeyName(RegHandle root);

class RegExportWriter {
public:
    explicit RegExportWriter(const TextCodec& codec);

    // "; text" (one line per line of `text`).
    void Comment(const std::string& text);
    // The same for text already in UTF-16, written exactly.
    void Comment(const std::u16string& text);
    // "[ROOT\path]": the values added next belong to it.
    void Key(RegHandle root, const std::string& path);
    // "[-ROOT\path]": importing deletes the key and all below it.
    void DeleteKey(RegHandle root, const std::string& path);
    // One value of the key last named; an empty name is the default value.
    void Value(const std::string& name, std::uint32_t type, const std::string& data);
    // "name"=-: importing deletes the value.
    void DeleteValue(const std::string& name);

    // The same with names and paths exactly as the W-functions give them,
    // and data as the W-functions read it (strings as UTF-16LE bytes): a
    // string of odd length or without its final NUL goes as hex(1).
    void Key(RegHandle root, const std::u16string& path);
    void DeleteKey(RegHandle root, const std::u16string& path);
    void Value(const std::u16string& name, std::uint32_t type, const std::string& wideData);
    void DeleteValue(const std::u16string& name);

    // The whole file: byte-order mark, header, everything added.
    std::string Bytes() const;

private:
    void Line(const std::u16string& line);
    std::u16string Wide(const std::string& text) const;
    std::u16string NamePart(const std::u16string& name) const;
    std::u16string HexLine(std::u16string head, const std::string& bytes) const;

    const TextCodec& codec_;
    std::u16string text_;
};

}  // namespace tv
