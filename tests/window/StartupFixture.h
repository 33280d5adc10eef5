// The startup-list fixture in the real registry and folders of the test
// prefix (tests/fixtures/startup.reg plus startup-folder files), and the
// rows the startup tab must list over it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <fstream>
#include <iterator>

#include "manage/StartupScan.h"
#include "tests/support/FakePlatform.h"
#include "platform/Platform.h"
#include "tests/support/RegFile.h"
#include "platform/Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/Shortcut.h"

namespace tv {

extern const char* const kUserRun;
extern const char* const kWinlogon;
extern const char* const kSession;
extern const char* const kRdp;
extern const char* const kDesktop;
extern const char* const kWindowsKey;
extern const std::string kLongName;

struct FixtureValue {
    RegHandle root;
    const char* key;
    std::string name;
};

// Every value startup.reg sets.
const std::vector<FixtureValue>& FixtureValues();

// A file of tests/fixtures as copied next to the test program.
std::string FixturePath(const char* name);
bool WriteFile(const std::string& path, const std::string& bytes = "x");

// Host symbolic links in `folder` that lead back into it or above it
// ("TvLoop" to itself, "TvUp" to its parent, "TvSub\TvBack" to it again);
// true once made. Removed again by RemoveLinkLoops.
bool MakeLinkLoops(const std::string& folder);
void RemoveLinkLoops(const std::string& folder);

// Loads startup.reg and the startup-folder files into the prefix, and puts
// back on destruction whatever was there before. `withLoops` false leaves
// the link loops to a fixture that outlives this one: making them costs a
// host program start.
class StartupFixture {
public:
    explicit StartupFixture(Registry& registry, bool withLoops = true) : registry_(registry) {
        for (const FixtureValue& v : FixtureValues()) saved_.push_back(Read(v));
        std::ifstream in(FixturePath("startup.reg"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Win32TextCodec codec;
        RegFileError error;
        loaded = !bytes.empty() && ImportRegFile(registry_, bytes, codec, &error);

        testing::FakePlatform fakes;
        Platform platform = fakes.Get();
        platform.registry = registry_;
        user = ReadStartupFolder(platform, kHkeyCurrentUser, "Startup");
        common = ReadStartupFolder(platform, kHkeyLocalMachine, "Common Startup");
        MakeFolder(user);
        MakeFolder(common);
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        MakeFolder(kTargetFolder);
        CopyFileA((std::string(windows) + "\\notepad.exe").c_str(), target.c_str(), FALSE);
        shortcut = user + "\\TvFixture App.lnk";
        testing::MakeShortcut(shortcut, target);
        MakeFolder(user + "\\TvSub");
        MakeFolder(user + "\\.tvhidden");
        // Links that would make a walk of the folder endless.
        if (withLoops) loops = ownsLoops_ = MakeLinkLoops(user);
        for (const std::string& f : {user + "\\desktop.ini", user + "\\TvSub\\TvSub.txt",
                                     user + "\\.tvhidden\\TvHidden.txt", user + "\\TvSame.txt",
                                     common + "\\TvSame.txt", common + "\\TvCommon.txt"})
            WriteFile(f);
    }
    ~StartupFixture() {
        for (size_t i = 0; i < saved_.size(); ++i) Restore(FixtureValues()[i], saved_[i]);
        if (ownsLoops_) RemoveLinkLoops(user);
        for (const std::string& f :
             {shortcut, user + "\\desktop.ini", user + "\\TvSub\\TvSub.txt",
              user + "\\.tvhidden\\TvHidden.txt", user + "\\TvSame.txt", common + "\\TvSame.txt",
              common + "\\TvCommon.txt", target})
            DeleteFileA(f.c_str());
        for (const std::string& d : {user + "\\TvSub", user + "\\.tvhidden", std::string(kTargetFolder)})
            RemoveDirectoryA(d.c_str());
    }

    // Every fixture value (name=type:data) and fixture file that exists.
    std::vector<std::string> Contents() const {
        std::vector<std::string> out;
        for (const FixtureValue& v : FixtureValues()) {
            Saved s = Read(v);
            if (s.present)
                out.push_back(std::string(v.key) + "\\" + v.name + "=" + std::to_string(s.type) +
                              ":" + std::string(s.data.begin(), s.data.end()));
        }
        for (const std::string& f : {shortcut, user + "\\TvSub\\TvSub.txt", user + "\\TvSame.txt",
                                     common + "\\TvSame.txt", common + "\\TvCommon.txt", target})
            if (GetFileAttributesA(f.c_str()) != INVALID_FILE_ATTRIBUTES) out.push_back(f);
        return out;
    }

    static constexpr const char* kTargetFolder = "C:\\tvfixture";
    bool loaded = false;
    bool loops = false;
    std::string user, common, shortcut;
    std::string target = std::string(kTargetFolder) + "\\app.exe";

private:
    struct Saved {
        bool present = false;
        std::uint32_t type = 0;
        std::vector<char> data;
    };
    Saved Read(const FixtureValue& v) const {
        Saved s;
        RegKey key = RegKey::Open(registry_, v.root, v.key, kKeyRead);
        std::uint32_t size = 0;
        if (!key || key.Query(v.name, &s.type, nullptr, &size) != kErrorSuccess) return s;
        s.data.assign(size + 1, '\0');
        s.present = key.Query(v.name, &s.type, s.data.data(), &size) == kErrorSuccess;
        s.data.resize(size);
        return s;
    }
    void Restore(const FixtureValue& v, const Saved& s) {
        RegKey key = RegKey::Open(registry_, v.root, v.key, kKeyAllAccess);
        if (!key) return;
        if (s.present)
            key.Set(v.name, s.type, s.data.data(), static_cast<std::uint32_t>(s.data.size()));
        else
            key.DeleteValue(v.name);
    }
    static void MakeFolder(const std::string& path) {
        // Parents first: the startup folders may not exist in a fresh prefix.
        for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        CreateDirectoryA(path.c_str(), nullptr);
    }

    Registry& registry_;
    std::vector<Saved> saved_;
    bool ownsLoops_ = false;
};

// The rows the tab lists over the fixture: its own rows and those of
// `baseline` (the rows listed before it was loaded) that it does not replace;
// sorted.
std::vector<std::string> ExpectedRows(const StartupFixture& fixture,
                                      const std::vector<std::string>& baseline);

// The shortcut's target may come back in another letter case: such rows
// are given the expected spelling.
void MatchShortcutCase(std::vector<std::string>* rows, const std::vector<std::string>& expected);

}  // namespace tv
