// What a list page needs to fill its signature column: one cache of
// verdicts kept for the page's whole life (a refresh verifies nothing
// again), the file a row's path names, and the cell's text.
#pragma once

#include <memory>
#include <string>

#include "manage/SignatureCache.h"
#include "manage/win32/SignatureFill.h"
#include "platform/Platform.h"

namespace tv {

class PageSignatures {
public:
    explicit PageSignatures(const Platform& platform);
    // Verifies through the cache; empty when the platform has no verifier.
    // It keeps the cache alive for as long as a fill runs with it.
    SignatureFill::Verify Verifier() const;
    // The cell's text for a verdict.
    std::string Text(const TrustVerdict& verdict) const;
    // The file a code-page path names; empty for an empty path.
    std::u16string File(const std::string& path) const;

private:
    Platform platform_;
    std::shared_ptr<SignatureCache> cache_;
};

}  // namespace tv
