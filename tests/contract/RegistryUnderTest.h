// What the registry contract tests run against: the in-memory store in the
// native test program, the real registry (through Win32Registry) under Wine.
#pragma once

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
