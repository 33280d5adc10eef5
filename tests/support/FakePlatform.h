// Every platform service as an in-memory fake, bundled for tests that build
// pages or the whole window away from the real system.
#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePrompter.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeShellLinks.h"
#include "platform/fake/FakeTokens.h"
#include "platform/fake/FakeVersionResources.h"
#include "platform/fake/FakeServiceDatabase.h"
#include "platform/fake/FakeProcessTable.h"
#include "platform/fake/FakeSystemFiles.h"

namespace tv::testing {

struct FakePlatform {
    FakeRegistry registry;
    FakeClock clock;
    FakeShell shell;
    FakeFileSystem files;
    FakeDrives drives;
    FakeEnvironment environment;
    FakePrompter prompter;
    FakeShellLinks links;
    FakeVersionResources versions;
    FakeTokens tokens;
    FakeServiceDatabase services;
    FakeProcessTable processes;
    FakeSystemFiles systemFiles;

    Platform Get() {
        Platform platform{&registry, &clock, &shell, &files, &drives, &environment, &prompter, &links, &versions, &tokens};
        platform.services = &services;
        platform.processes = &processes;
        platform.systemFiles = &systemFiles;
        return platform;
    }
};

}  // namespace tv::testing
