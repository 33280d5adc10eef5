#include "tests/contract/RegistryUnderTest.h"

#include "platform/RegistryViews.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/host/IconvTextCodec.h"

std::unique_ptr<tv::Registry> MakeRegistryUnderTest() {
    // A 64-bit system, seen by a program of this build's bitness.
    auto registry = std::make_unique<tv::FakeRegistry>(
        tv::kProgramIs64Bit ? tv::FakeRegistry::Views::TwoFor64BitProgram
                            : tv::FakeRegistry::Views::TwoFor32BitProgram);
    registry->UseCodec(std::make_shared<tv::IconvTextCodec>());
    return registry;
}

bool RegistryUnderTestHasTwoViews() { return true; }

std::string ScratchKeyPath() { return "Software\\TrimvexContract-fake"; }

std::unique_ptr<tv::TextCodec> MakeCodecUnderTest() {
    return std::make_unique<tv::IconvTextCodec>();
}

long SetValueCountedUnderTest(tv::Registry& registry, tv::RegHandle key, const std::u16string& name,
                              std::uint32_t type, const std::string& data) {
    return static_cast<tv::FakeRegistry&>(registry).SetValueCountedW(
        key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
}
