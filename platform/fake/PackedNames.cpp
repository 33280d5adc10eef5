#include "platform/fake/PackedNames.h"

namespace tv::packed {

std::string Pack(const std::u16string& wide) {
    std::string packed;
    for (char16_t unit : wide) {
        if (unit < 0x80) {
            packed.push_back(static_cast<char>(unit));
            continue;
        }
        for (int shift = 12; shift >= 0; shift -= 4)
            packed.push_back(static_cast<char>(0x81 + ((unit >> shift) & 0xF)));
    }
    return packed;
}

std::u16string Unpack(const std::string& packed) {
    std::u16string wide;
    for (std::size_t i = 0; i < packed.size();) {
        const auto byte = static_cast<unsigned char>(packed[i]);
        if (byte < 0x80 || i + 4 > packed.size()) {
            wide.push_back(byte);
            ++i;
            continue;
        }
        char16_t unit = 0;
        for (int k = 0; k < 4; ++k)
            unit = static_cast<char16_t>((unit << 4) |
                                         ((static_cast<unsigned char>(packed[i + k]) - 0x81) & 0xF));
        wide.push_back(unit);
        i += 4;
    }
    return wide;
}

std::string FromAnsi(const std::string& ansi, const TextCodec* codec) {
    if (codec) return Pack(codec->AnsiToWide(ansi));
    std::u16string wide;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < ansi.size()) {
            wide.push_back(static_cast<char16_t>(0x8000 | ((byte & 0x7F) << 8) |
                                                 static_cast<unsigned char>(ansi[++i])));
        } else {
            wide.push_back(byte);
        }
    }
    return Pack(wide);
}

std::string ToAnsi(const std::string& packed, const TextCodec* codec) {
    const std::u16string wide = Unpack(packed);
    if (codec) return codec->WideToAnsi(wide);
    std::string ansi;
    for (char16_t unit : wide) {
        if (unit < 0x100) {
            ansi.push_back(static_cast<char>(unit));
        } else if (unit >= 0x8100) {
            ansi.push_back(static_cast<char>(0x80 | ((unit >> 8) & 0x7F)));
            ansi.push_back(static_cast<char>(unit & 0xFF));
        } else {
            ansi.push_back('?');
        }
    }
    return ansi;
}

}  // namespace tv::packed
