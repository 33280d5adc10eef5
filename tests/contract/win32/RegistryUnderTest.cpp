#include "tests/contract/RegistryUnderTest.h"

#include <windows.h>

#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32TextCodec.h"

std::unique_ptr<tv::Registry> MakeRegistryUnderTest() {
    return std::make_unique<tv::Win32Registry>();
}

bool RegistryUnderTestHasTwoViews() { return tv::Win32SystemProbe().Is64BitSystem(); }

std::string ScratchKeyPath() {
    return "Software\\TrimvexContract-" + std::to_string(GetCurrentProcessId());
}

std::unique_ptr<tv::TextCodec> MakeCodecUnderTest() {
    return std::make_unique<tv::Win32TextCodec>();
}
