#include "platform/host/IconvTextCodec.h"

#include <cerrno>
#include <iconv.h>

namespace tv {
namespace {

// One conversion descriptor, closed on every path.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; an input unit that cannot be converted is
    // skipped (`skip` bytes) and `replacement` written in its place.
    std::string Run(const std::string& in, std::size_t skip,
                    const std::string& replacement) {
        std::string out;
        if (!ok()) return out;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // Invalid or incomplete input: replace one unit and go on.
            const std::size_t n = srcLeft < skip ? srcLeft : skip;
            src += n;
            srcLeft -= n;
            out += replacement;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string IconvTextCodec::WideToAnsi(const std::u16string& text) const {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return Converter("CP936", "UTF-16LE").Run(bytes, 2, "?");
}

std::u16string IconvTextCodec::AnsiToWide(const std::string& text) const {
    const std::string bytes =
        Converter("UTF-16LE", "CP936").Run(text, 1, std::string("?\0", 2));
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return out;
}

}  // namespace tv
