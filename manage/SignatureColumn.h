// The signature column of the management lists: what a file's trust verdict
// reads as in its cell.
#pragma once

#include <string>

#include "platform/TextCodec.h"
#include "platform/TrustVerifier.h"

namespace tv {

// The column's heading.
extern const char kSignatureHeading[];

// "已验证：" and the signer's name, "未签名", "签名无效", or nothing where
// there is no file; in the code page `codec` converts to.
std::string SignatureCellText(const TrustVerdict& verdict, const TextCodec& codec);

}  // namespace tv
