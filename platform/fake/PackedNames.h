// Names as the in-memory stores keep them: UTF-16, as Windows keeps them,
// packed into 8 bits without loss so that the code-page helpers (case
// folding, searching for a backslash) work on them unchanged. The A-side
// of a store converts through a code page: the codec it is given or,
// without one, a byte mapping that takes every 8-bit name there and back.
#pragma once

#include <memory>
#include <string>

#include "platform/TextCodec.h"

namespace tv::packed {

// The code page a store was given. It belongs to the platform, not to the
// store's contents: assigning a fresh store (as tests do to start over)
// keeps it, unless the fresh one names a codec of its own.
class CodecSetting {
public:
    CodecSetting() = default;
    CodecSetting(const CodecSetting&) = default;
    CodecSetting& operator=(const CodecSetting& other) {
        if (other.codec_) codec_ = other.codec_;
        return *this;
    }
    void Use(std::shared_ptr<const TextCodec> codec) { codec_ = std::move(codec); }
    const TextCodec* get() const { return codec_.get(); }

private:
    std::shared_ptr<const TextCodec> codec_;
};

// ASCII as itself, every other unit as four bytes 0x81..0x90 (one per
// nibble). Those read as two double-byte characters to the code-page
// helpers, so a backslash is never taken for a trail byte, ASCII case
// folding leaves them alone, and they sort after ASCII in the order of the
// units.
std::string Pack(const std::u16string& wide);
std::u16string Unpack(const std::string& packed);

// A-text into the packed form and back. With a codec, through it (a
// character the code page lacks reads as '?'); without one, a double-byte
// character (lead byte 0x81..0xFE and the byte after it) stands for one
// unit of its own, 0x8000 and up, and any other byte for the unit of its
// number.
std::string FromAnsi(const std::string& ansi, const TextCodec* codec);
std::string ToAnsi(const std::string& packed, const TextCodec* codec);

}  // namespace tv::packed
