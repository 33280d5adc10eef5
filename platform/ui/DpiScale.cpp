#include "platform/ui/DpiScale.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "res/resource.h"

namespace tv {

namespace {
// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDivRound(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    long long result = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(result);
}

constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 12;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Ok() const { return ok_; }
    std::uint16_t Word() {
        if (!Need(2)) return 0;
        std::uint16_t value = static_cast<std::uint16_t>(data_[at_] | data_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    std::uint32_t Dword() {
        std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    // A name or ordinal field: the ordinal, or 0 for a name (its ASCII
    // letters folded to lower case into `name`, when asked for).
    int NameOrOrdinal(std::string* name = nullptr) {
        std::uint16_t unit = Word();
        if (unit == 0xFFFF) return Word();
        for (; ok_ && unit != 0; unit = Word())
            if (name) name->push_back(static_cast<char>(unit < 0x80 ? std::tolower(unit) : '?'));
        return 0;
    }
    void AlignDword() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
    void Skip(std::size_t bytes) {
        if (Need(bytes)) at_ += bytes;
    }

private:
    bool Need(std::size_t bytes) {
        if (!ok_ || at_ + bytes > size_) ok_ = false;
        return ok_;
    }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kDsShellFont = 0x48;
}  // namespace

int ScaleToDpi(int pixels96, int dpi) { return MulDivRound(pixels96, dpi, kBaseDpi); }

int UnscaleFromDpi(int pixels, int dpi) { return dpi > 0 ? MulDivRound(pixels, kBaseDpi, dpi) : pixels; }

Rect ScaleEdges(const Rect& r, int dpi) {
    return {ScaleToDpi(r.left, dpi), ScaleToDpi(r.top, dpi), ScaleToDpi(r.right, dpi),
            ScaleToDpi(r.bottom, dpi)};
}

Rect ScaleSized(const Rect& r, int dpi) {
    int left = ScaleToDpi(r.left, dpi), top = ScaleToDpi(r.top, dpi);
    return {left, top, left + ScaleToDpi(r.Width(), dpi), top + ScaleToDpi(r.Height(), dpi)};
}

int NearestArtDpi(int dpi) {
    int best = kArtDpis[0];
    for (int set : kArtDpis)
        if (std::abs(set - dpi) <= std::abs(best - dpi)) best = set;
    return best;
}

int ArtResourceId(int id96, int artDpi) {
    if (artDpi == 120) return id96 + IDR_ART_125_OFFSET;
    if (artDpi == 144) return id96 + IDR_ART_150_OFFSET;
    return id96;
}

DialogTemplateInfo ParseDialogTemplate(const std::uint8_t* data, std::size_t size) {
    DialogTemplateInfo info;
    if (!data) return info;
    Reader in(data, size);
    const bool extended = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF &&
                          data[3] == 0xFF;
    int count = 0;
    if (extended) {
        in.Skip(4 + 4 + 4);  // version and signature, help id, extended style
        info.style = in.Dword();
    } else {
        info.style = in.Dword();
        in.Skip(4);  // extended style
    }
    count = in.Word();
    in.Skip(4);  // x, y
    info.cx = static_cast<std::int16_t>(in.Word());
    info.cy = static_cast<std::int16_t>(in.Word());
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // class
    in.NameOrOrdinal();  // title
    if ((info.style & kDsSetFont) || (info.style & kDsShellFont) == kDsShellFont) {
        in.Skip(extended ? 6 : 2);  // point size (and weight, italic, charset)
        in.NameOrOrdinal();         // face name
    }
    for (int i = 0; i < count && in.Ok(); ++i) {
        in.AlignDword();
        DialogItem item;
        if (extended) {
            in.Skip(4 + 4);  // help id, extended style
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            in.Skip(4);
        }
        item.x = static_cast<std::int16_t>(in.Word());
        item.y = static_cast<std::int16_t>(in.Word());
        item.cx = static_cast<std::int16_t>(in.Word());
        item.cy = static_cast<std::int16_t>(in.Word());
        item.id = extended ? static_cast<int>(in.Dword() & 0xFFFF) : in.Word();
        std::string className;
        item.classOrdinal = in.NameOrOrdinal(&className);
        // The resource compiler may store a system class by name.
        if (className == "button") item.classOrdinal = 0x80;
        if (className == "static") item.classOrdinal = 0x82;
        item.imageId = in.NameOrOrdinal();
        // Creation data: a count of the bytes after it (extended), or of
        // the bytes including the count itself.
        std::size_t extra = in.Word();
        in.Skip(extended || extra == 0 ? extra : extra - 2);
        if (in.Ok()) info.items.push_back(item);
    }
    info.valid = in.Ok();
    return info;
}

Rect DialogUnitsAt96(int x, int y, int cx, int cy) {
    int left = MulDivRound(x, kBaseUnitX, 4), top = MulDivRound(y, kBaseUnitY, 8);
    return {left, top, left + MulDivRound(cx, kBaseUnitX, 4), top + MulDivRound(cy, kBaseUnitY, 8)};
}

}  // namespace tv
