#include "manage/win32/PageSignatures.h"

#include "manage/SignatureColumn.h"
#include "platform/TextCodec.h"

namespace tv {

PageSignatures::PageSignatures(const Platform& platform) : platform_(platform) {
    cache_ = std::make_shared<SignatureCache>(*platform.trust, *platform.files);
}

SignatureFill::Verify PageSignatures::Verifier() const {
    if (!cache_) return {};
    return [cache = cache_](const std::u16string& file) { return cache->Verify(file); };
}

std::string PageSignatures::Text(const TrustVerdict& verdict) const {
    return SignatureCellText(verdict, *platform_.codec);
}

std::u16string PageSignatures::File(const std::string& path) const {
    if (path.empty()) return {};
    return platform_.codec->AnsiToWide(path);
}

}  // namespace tv
