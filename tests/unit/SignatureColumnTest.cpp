// What each trust verdict reads as in the signature column, byte for byte in
// code page 936.
#include <gtest/gtest.h>

#include <string>

#include "manage/SignatureColumn.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

TEST(SignatureColumn, HeadingNamesTheDigitalSignature) {
    EXPECT_EQ(std::string(kSignatureHeading), "\xCA\xFD\xD7\xD6\xC7\xA9\xC3\xFB");  // 数字签名
}

TEST(SignatureColumn, EachVerdictReadsAsItsText) {
    testing::FakePlatform::Codec codec;
    struct Case {
        TrustState state;
        std::u16string signer;
        bool windowsPublisher;
        std::string text;
    } cases[] = {
        // 已验证：Contoso Ltd
        {TrustState::kVerified, u"Contoso Ltd", false,
         "\xD2\xD1\xD1\xE9\xD6\xA4\xA3\xBA" "Contoso Ltd"},
        {TrustState::kVerified, u"Microsoft Windows", true,
         "\xD2\xD1\xD1\xE9\xD6\xA4\xA3\xBA" "Microsoft Windows"},
        // A signer's name in Chinese comes out in the code page: 已验证：微软
        {TrustState::kVerified, u"\u5FAE\u8F6F", false,
         "\xD2\xD1\xD1\xE9\xD6\xA4\xA3\xBA\xCE\xA2\xC8\xED"},
        // A character the code page lacks reads as '?'.
        {TrustState::kVerified, u"\uAC00 Co", false, "\xD2\xD1\xD1\xE9\xD6\xA4\xA3\xBA? Co"},
        {TrustState::kUnsigned, u"", false, "\xCE\xB4\xC7\xA9\xC3\xFB"},             // 未签名
        {TrustState::kInvalid, u"", false, "\xC7\xA9\xC3\xFB\xCE\xDE\xD0\xA7"},      // 签名无效
        // Whatever a verdict without a file carries, its cell stays empty.
        {TrustState::kNoFile, u"", false, ""},
        {TrustState::kNoFile, u"Contoso Ltd", false, ""},
    };
    for (const Case& c : cases) {
        TrustVerdict verdict;
        verdict.state = c.state;
        verdict.signer = c.signer;
        verdict.windowsPublisher = c.windowsPublisher;
        EXPECT_EQ(SignatureCellText(verdict, codec), c.text) << static_cast<int>(c.state);
    }
}

}  // namespace
}  // namespace tv
