// What the registry contract tests run against: the in-memory store in the
// native test program, the real registry (through Win32Registry) under Wine.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/TextCodec.h"

std::unique_ptr<tv::Registry> MakeRegistryUnderTest();
// True when the registry under test belongs to 64-bit Windows (two views).
bool RegistryUnderTestHasTwoViews();
// A key below HKCU that belongs to this test run alone.
std::string ScratchKeyPath();
std::unique_ptr<tv::TextCodec> MakeCodecUnderTest();
// Sets a value the way the native call does (NtSetValueKey): the name
// counted, so a NUL in it is kept. Returns the registry status (0 done).
long SetValueCountedUnderTest(tv::Registry& registry, tv::RegHandle key, const std::u16string& name,
                              std::uint32_t type, const std::string& data);
