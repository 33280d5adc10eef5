// What the shortcut, version-resource and token contract tests run against:
// the fakes natively, the Win32 adapters under Wine.
#pragma once

#include <memory>
#include <string>

#include "platform/ShellLinks.h"
#include "platform/Tokens.h"
#include "platform/VersionResources.h"

struct SystemSeamsUnderTest {
    std::unique_ptr<tv::ShellLinks> links;
    std::unique_ptr<tv::VersionResources> versions;
    std::unique_ptr<tv::Tokens> tokens;
    // An existing empty folder that belongs to the test.
    std::string scratch;
    // A file with a version resource whose first translation is
    // language 0x0804, code page 0x04B0, and whose FileDescription is not
    // empty (the system's kernel32.dll).
    std::string versionedFile;
    virtual void MakeFile(const std::string& path) = 0;
    // A shortcut made with the shell's link object.
    virtual void MakeShortcut(const std::string& linkPath, const std::string& target) = 0;
    // The same at an exact path, for names outside the code page.
    virtual void MakeShortcut(const std::u16string& linkPath, const std::string& target) = 0;
    virtual ~SystemSeamsUnderTest() = default;
};

std::unique_ptr<SystemSeamsUnderTest> MakeSystemSeamsUnderTest();
