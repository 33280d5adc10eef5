// The fake trust verifier judges as Windows does (as Windows 7 does where
// Wine differs): signed under a trusted root, unsigned, changed since
// signing, signed under a root not trusted, nothing there.
#include <gtest/gtest.h>

#include <string>

#include "tests/contract/TrustUnderTest.h"

namespace {

TEST(TrustContract, EachKindOfFileHasItsVerdict) {
    std::unique_ptr<TrustUnderTest> t = MakeTrustUnderTest();
    ASSERT_EQ(t->problem, "");
    struct Case {
        TrustSample sample;
        const char* what;
        tv::TrustState state;
        std::u16string signer;
    } cases[] = {
        {TrustSample::kSigned, "signed", tv::TrustState::kVerified, u"Trimvex Test Signer"},
        {TrustSample::kUnsigned, "unsigned", tv::TrustState::kUnsigned},
        {TrustSample::kTampered, "changed since signing", tv::TrustState::kInvalid},
        {TrustSample::kForeignRoot, "untrusted root", tv::TrustState::kInvalid},
        {TrustSample::kMissing, "missing", tv::TrustState::kNoFile},
        {TrustSample::kFolder, "a folder", tv::TrustState::kNoFile},
    };
    for (const Case& c : cases) {
        const tv::TrustVerdict verdict = t->verifier->Verify(t->PathOf(c.sample));
        EXPECT_EQ(static_cast<int>(verdict.state), static_cast<int>(c.state)) << c.what;
        EXPECT_EQ(verdict.signer, c.signer) << c.what;
        // A test signer is never the operating system's publisher.
        EXPECT_FALSE(verdict.windowsPublisher) << c.what;
    }
}

}  // namespace
