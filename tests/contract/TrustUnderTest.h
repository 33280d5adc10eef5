// What the trust verifier contract runs against: the fake natively, Windows'
// trust provider under Wine, each with the same kinds of file to judge.
#pragma once

#include <memory>
#include <string>

#include "platform/TrustVerifier.h"

enum class TrustSample {
    kSigned,       // signed by "Trimvex Test Signer", under a root the machine trusts
    kUnsigned,     // a program without any signature
    kTampered,     // the signed program with one byte changed since
    kForeignRoot,  // signed under a root the machine does not trust
    kMissing,      // nothing at the path
    kFolder,       // a folder, not a file
};

struct TrustUnderTest {
    std::unique_ptr<tv::TrustVerifier> verifier;
    // Why the samples could not be made ready; empty when they are.
    std::string problem;
    virtual std::u16string PathOf(TrustSample sample) = 0;
    virtual ~TrustUnderTest() = default;
};

std::unique_ptr<TrustUnderTest> MakeTrustUnderTest();
