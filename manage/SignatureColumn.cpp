#include "manage/SignatureColumn.h"

namespace tv {

const char kSignatureHeading[] = "数字签名";

std::string SignatureCellText(const TrustVerdict& verdict, const TextCodec& codec) {
    switch (verdict.state) {
        case TrustState::kVerified:
            return "已验证：" + codec.WideToAnsi(verdict.signer);
        case TrustState::kUnsigned:
            return "未签名";
        case TrustState::kInvalid:
            return "签名无效";
        case TrustState::kNoFile:
            break;
    }
    return std::string();
}

}  // namespace tv
