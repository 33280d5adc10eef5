// Every platform service as an in-memory fake, bundled for tests that build
// pages or the whole window away from the real system.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeDrives.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakePrompter.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeUserShell.h"
#include "platform/UserFirstShell.h"
#include "platform/fake/FakeSystemProbe.h"
#include "platform/fake/FakeWmi.h"
#include "platform/fake/FakeServiceControl.h"
#include "platform/fake/FakeDisplaySettings.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeDesktopShell.h"
#include "platform/fake/FakeWorkerThreads.h"
#include "platform/fake/FakeShellLinks.h"
#include "platform/fake/FakeTokens.h"
#include "platform/fake/FakeVersionResources.h"
#include "platform/fake/FakeServiceDatabase.h"
#include "platform/fake/FakeProcessTable.h"
#include "platform/fake/FakeSystemFiles.h"
#include "platform/fake/FakeTaskScheduler.h"
#include "platform/fake/FakeTrustVerifier.h"
#ifdef _WIN32
#include "platform/win32/Win32TextCodec.h"
#else
#include "platform/host/IconvTextCodec.h"
#endif

namespace tv::testing {

// The shell the bundle hands out: addresses and documents to the desktop
// shell only, system tools to the program's own, both the bundle's own fakes. Assigning a fresh bundle
// assigns those fakes and leaves this bound to them.
class BundledShell : public UserFirstShell {
public:
    using UserFirstShell::UserFirstShell;
    BundledShell(const BundledShell&) = delete;
    BundledShell& operator=(const BundledShell&) { return *this; }
};

struct FakePlatform {
#ifdef _WIN32
    using Codec = Win32TextCodec;
#else
    using Codec = IconvTextCodec;
#endif

    // The common application data folder exists, as on every real system,
    // with Windows 7's descriptor: owned by SYSTEM, and users may make
    // folders and files in it (whose creator then owns them).
    FakePlatform() {
        files.AddFolder(environment.commonAppDataFolder);
        files.SetSecurity(environment.commonAppDataFolder,
                          {fakesid::kSystem,
                           {{fakesid::kSystem, fakeright::kAll},
                            {fakesid::kAdministrators, fakeright::kAll},
                            {"S-1-3-0", fakeright::kAll},
                            {fakesid::kUsers, fakeright::kReadAndExecute},
                            {fakesid::kUsers, 0x6}}});
        registry.UseCodec(std::make_shared<Codec>());
        files.UseCodec(std::make_shared<Codec>());
        links.UseCodec(std::make_shared<Codec>());
    }

    FakeRegistry registry;
    FakeClock clock;
    // What this program starts itself (system tools); `userShell` is the
    // desktop shell, the only one asked for addresses (see UserFirstShell),
    // whose refusals `prompter` shows.
    FakeShell shell;
    FakeUserShell userShell;
    BundledShell userFirstShell{userShell, shell, prompter};
    FakeFileSystem files;
    FakeDrives drives;
    FakeEnvironment environment;
    FakePrompter prompter;
    FakeSystemProbe system;
    FakeWmi wmi;
    FakeServiceControl services;
    FakeDisplaySettings display;
    FakeFileDialog fileDialog;
    FakeDesktopShell desktop;
    FakeWorkerThreads workers;
    FakeShellLinks links;
    FakeVersionResources versions;
    FakeTokens tokens;
    FakeServiceDatabase serviceDatabase;
    FakeProcessTable processes;
    FakeSystemFiles systemFiles;
    Codec codec;
    FakeTaskScheduler tasks;
    FakeTrustVerifier trust;

    Platform Get() {
        return {registry,  clock,           userFirstShell, files,   drives,   environment, prompter, system,
                wmi,       services,        display,  fileDialog, desktop, workers,    links,    versions,
                tokens,    serviceDatabase, processes, systemFiles, codec,  tasks,      trust};
    }
};

// The user's and the common startup folder as the shell names them in the
// registry.
inline void NameStartupFolders(Registry& registry, const std::string& user, const std::string& common) {
    const char* const key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    RegKey::Create(registry, kHkeyCurrentUser, key).SetString("Startup", user);
    RegKey::Create(registry, kHkeyLocalMachine, key).SetString("Common Startup", common);
}

}  // namespace tv::testing
