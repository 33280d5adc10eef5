// Files' digital signatures through the system's trust provider: the
// embedded Authenticode signature, else the system catalog that lists the
// file's hash. The file is opened for reading only and never loaded; nothing
// is fetched from the network (certificates and revocation lists only from
// what the system has cached) and the provider shows no window.
#pragma once

#include "platform/TrustVerifier.h"

namespace tv {

class Win32TrustVerifier : public TrustVerifier {
public:
    TrustVerdict Verify(const std::u16string& path) override;
};

}  // namespace tv
