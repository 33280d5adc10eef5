#include "tests/contract/RegistryUnderTest.h"

#include "platform/fake/FakeRegistry.h"
#include "platform/host/IconvTextCodec.h"

std::unique_ptr<tv::Registry> MakeRegistryUnderTest() {
    return std::make_unique<tv::FakeRegistry>();
}

std::string ScratchKeyPath() { return "Software\\TrimvexContract-fake"; }

std::unique_ptr<tv::TextCodec> MakeCodecUnderTest() {
    return std::make_unique<tv::IconvTextCodec>();
}
