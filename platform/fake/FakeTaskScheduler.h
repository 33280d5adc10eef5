// Registered tasks a test sets up, listed in the order the folder walk of
// Windows 7 gives them (a folder's tasks, then its subfolders, depth first;
// hidden tasks too). Wine 8 cannot list a folder's tasks (its collections
// answer E_NOTIMPL) and keeps no triggers or actions of a definition; the
// fake holds the whole definition, as Windows 7 does.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/TaskScheduler.h"
#include "platform/WideText.h"

namespace tv {

class FakeTaskScheduler : public TaskScheduler {
public:
    // Paths compare case-insensitively (ASCII letters), as the service does.
    static bool SamePath(const std::u16string& a, const std::u16string& b) {
        return utf16::EqualsNoCase(a, b);
    }

    // Adds (or replaces) the task at `path`; its name is the path's last part.
    void Add(const std::u16string& path, const std::u16string& xml, bool enabled = true) {
        Remove(path);
        RegisteredTask task;
        task.path = path;
        task.name = path.substr(path.rfind(u'\\') + 1);
        task.enabled = enabled;
        task.xml = xml;
        tasks.push_back(task);
    }
    bool Has(const std::u16string& path) const {
        return std::any_of(tasks.begin(), tasks.end(),
                           [&](const RegisteredTask& t) { return SamePath(t.path, path); });
    }

    std::vector<RegisteredTask> tasks;
    // Tasks whose definition cannot be read (left out of the list).
    std::set<std::u16string> unreadable;
    // Tasks that cannot be deleted.
    std::set<std::u16string> undeletable;
    // False: the service is not running; nothing is listed.
    bool running = true;
    // Every delete asked for, by the path given.
    std::vector<std::u16string> deletes;
    // Tasks whose enabled flag cannot be changed.
    std::set<std::u16string> unswitchable;
    // Every switch asked for: the path given and the state asked.
    std::vector<std::pair<std::u16string, bool>> switches;

    std::vector<RegisteredTask> Tasks(const std::function<bool()>& stop) override {
        std::vector<RegisteredTask> listed;
        if (!running) return listed;
        for (const RegisteredTask& task : Ordered()) {
            if (stop && stop()) break;
            if (!unreadable.count(task.path)) listed.push_back(task);
        }
        return listed;
    }
    bool TaskXml(const std::u16string& asked, std::u16string* xml) override {
        const std::u16string path = Handed(asked);
        if (!running || unreadable.count(path)) return false;
        for (const RegisteredTask& task : tasks) {
            if (!SamePath(task.path, path)) continue;
            *xml = task.xml;
            return true;
        }
        return false;
    }
    bool DeleteTask(const std::u16string& asked) override {
        deletes.push_back(asked);
        const std::u16string path = Handed(asked);
        if (!running || undeletable.count(path) || !Has(path)) return false;
        Remove(path);
        return true;
    }

    bool SetTaskEnabled(const std::u16string& asked, bool enabled) override {
        switches.emplace_back(asked, enabled);
        const std::u16string path = Handed(asked);
        if (!running || unswitchable.count(path)) return false;
        for (RegisteredTask& task : tasks) {
            if (!SamePath(task.path, path)) continue;
            task.enabled = enabled;
            return true;
        }
        return false;
    }

private:
    // The path as the adapter hands it to the service: a C string, which
    // stops at its first NUL.
    static std::u16string Handed(const std::u16string& path) { return path.substr(0, path.find(u'\0')); }
    void Remove(const std::u16string& path) {
        tasks.erase(std::remove_if(tasks.begin(), tasks.end(),
                                   [&](const RegisteredTask& t) { return SamePath(t.path, path); }),
                    tasks.end());
    }
    // By folder path: a folder's tasks (in the order added) before those of
    // the folders below it, whose paths it begins.
    std::vector<RegisteredTask> Ordered() const {
        std::vector<RegisteredTask> ordered = tasks;
        std::stable_sort(ordered.begin(), ordered.end(), [](const RegisteredTask& a, const RegisteredTask& b) {
            return a.path.substr(0, a.path.rfind(u'\\') + 1) < b.path.substr(0, b.path.rfind(u'\\') + 1);
        });
        return ordered;
    }
};

}  // namespace tv
