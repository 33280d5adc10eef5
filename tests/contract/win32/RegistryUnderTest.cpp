#include "tests/contract/RegistryUnderTest.h"

#include <windows.h>
#include <winternl.h>

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

long SetValueCountedUnderTest(tv::Registry&, tv::RegHandle key, const std::u16string& name,
                              std::uint32_t type, const std::string& data) {
    using SetValueKey = LONG(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
    const auto set = reinterpret_cast<SetValueKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtSetValueKey")));
    if (set == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    std::u16string counted = name;
    UNICODE_STRING text;
    text.Buffer = reinterpret_cast<PWSTR>(counted.data());
    text.Length = static_cast<USHORT>(counted.size() * 2);
    text.MaximumLength = text.Length;
    std::string bytes = data;
    const LONG status = set(reinterpret_cast<HANDLE>(key), &text, 0, type, bytes.data(),
                            static_cast<ULONG>(bytes.size()));
    return status == 0 ? ERROR_SUCCESS : static_cast<long>(status);
}
