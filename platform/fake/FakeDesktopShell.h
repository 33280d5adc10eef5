// A desktop shell that logs every step of the active-desktop object's use,
// in order, and can be told to fail at any one of them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DesktopShell.h"

namespace tv {

class FakeDesktopShell : public DesktopShell {
public:
    // Steps, as logged: "open", "options 1 1", "wallpaper PATH", "style 0",
    // "apply 7", "release"; "notify associations".
    std::vector<std::string> log;
    // The step whose call fails ("open", "options", "wallpaper", "style",
    // "apply"); empty: none.
    std::string failAt;
    std::string wallpaper;
    int liveSessions = 0;

    std::unique_ptr<ActiveDesktopSession> OpenActiveDesktop() override {
        log.push_back("open");
        if (failAt == "open") return nullptr;
        return std::make_unique<Session>(*this);
    }
    void NotifyAssociationsChanged() override { log.push_back("notify associations"); }

private:
    class Session : public ActiveDesktopSession {
    public:
        explicit Session(FakeDesktopShell& shell) : shell_(shell) { ++shell_.liveSessions; }
        ~Session() override {
            --shell_.liveSessions;
            shell_.log.push_back("release");
        }
        bool SetItemOptions(bool components, bool active) override {
            return Step("options", std::string(components ? "1" : "0") + " " + (active ? "1" : "0"));
        }
        bool SetWallpaper(const std::string& path) override {
            if (!Step("wallpaper", path)) return false;
            pending_ = path;
            return true;
        }
        bool SetWallpaperStyle(int style) override { return Step("style", std::to_string(style)); }
        bool ApplyChanges(unsigned flags) override {
            if (!Step("apply", std::to_string(flags))) return false;
            shell_.wallpaper = pending_;
            return true;
        }

    private:
        bool Step(const std::string& name, const std::string& argument) {
            shell_.log.push_back(name + " " + argument);
            return shell_.failAt != name;
        }
        FakeDesktopShell& shell_;
        std::string pending_;
    };
};

}  // namespace tv
