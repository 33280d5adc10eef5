// The one name of a listed entry: a registry value or key, a file, a task.
// The system keeps it in UTF-16; the list and 8-bit files show its code
// page's text, where a character outside the code page is '?' and the text
// may name another entry. So what acts on the entry asks for Exact(), and
// only what is shown or written in 8 bits asks for Shown(). It lives beside
// the codec because every area's rows and removal steps carry one.
#pragma once

#include <string>

#include "platform/TextCodec.h"

namespace tv {

class EntryName {
public:
    EntryName() = default;
    // Known by its code page's text only (a row read back from the list, a
    // scan made without the Unicode calls): exactly that text's UTF-16 form.
    EntryName(std::string shown) : shown_(std::move(shown)) {}  // NOLINT: a row's 8-bit cell names it
    EntryName(const char* shown) : shown_(shown) {}              // NOLINT
    // As the system stores it, with the code page's text shown for it.
    EntryName(std::string shown, std::u16string exact) : shown_(std::move(shown)), exact_(std::move(exact)) {}
    // As the system stores it; the shown text comes through `codec`.
    static EntryName Of(std::u16string exact, const TextCodec& codec);

    const std::string& Shown() const { return shown_; }
    // The UTF-16 name to act on.
    std::u16string Exact(const TextCodec& codec) const;
    // The UTF-16 form the entry came with: what a wide list cell shows (empty:
    // the cell shows the code page's text).
    const std::u16string& Stored() const { return exact_; }
    // A NUL in either form: every call would cut the name there.
    bool HasNul() const;

private:
    std::string shown_;
    std::u16string exact_;
};

}  // namespace tv
