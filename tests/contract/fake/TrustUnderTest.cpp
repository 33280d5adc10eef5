#include "tests/contract/TrustUnderTest.h"

#include "platform/fake/FakeTrustVerifier.h"

namespace {

struct FakeTrust : TrustUnderTest {
    FakeTrust() {
        auto fake = std::make_unique<tv::FakeTrustVerifier>();
        fake->AddSigned(PathOf(TrustSample::kSigned), u"Trimvex Test Signer");
        fake->AddUnsigned(PathOf(TrustSample::kUnsigned));
        fake->AddInvalid(PathOf(TrustSample::kTampered));
        fake->AddSigned(PathOf(TrustSample::kForeignRoot), u"Trimvex Foreign Signer", false,
                        /*trustedRoot=*/false);
        verifier = std::move(fake);
    }
    std::u16string PathOf(TrustSample sample) override {
        switch (sample) {
            case TrustSample::kSigned: return u"C:\\Samples\\signed.exe";
            case TrustSample::kUnsigned: return u"C:\\Samples\\unsigned.exe";
            case TrustSample::kTampered: return u"C:\\Samples\\tampered.exe";
            case TrustSample::kForeignRoot: return u"C:\\Samples\\foreign.exe";
            case TrustSample::kMissing: return u"C:\\Samples\\missing.exe";
            case TrustSample::kFolder: return u"C:\\Samples";
        }
        return {};
    }
};

}  // namespace

std::unique_ptr<TrustUnderTest> MakeTrustUnderTest() { return std::make_unique<FakeTrust>(); }
