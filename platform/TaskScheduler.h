// The registered tasks of the Task Scheduler: listed with their definitions,
// one read again by its path, one deleted or switched on or off. Names and paths are carried as
// the service gives them (UTF-16), never through the ANSI code page: a task
// is found again by exactly the path it was listed with.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tv {

struct RegisteredTask {
    std::u16string path;  // "\Vendor\Updater"; "\Updater" in the root folder
    std::u16string name;  // "Updater"
    bool enabled = true;
    // The task's definition in the Task Scheduler's XML schema, as the
    // service holds it.
    std::u16string xml;
};

class TaskScheduler {
public:
    virtual ~TaskScheduler() = default;
    // Every registered task of the root folder and, depth first, of every
    // folder below, hidden ones included; within a folder its tasks come
    // before its subfolders. A task whose definition cannot be read is left
    // out. Empty when the service cannot be reached. `stop`, asked between
    // tasks, ends the listing early with what was found.
    virtual std::vector<RegisteredTask> Tasks(const std::function<bool()>& stop) = 0;
    // The definition of the task at exactly `path`; false when there is no
    // such task or it cannot be read.
    virtual bool TaskXml(const std::u16string& path, std::u16string* xml) = 0;
    // Deletes the task at exactly `path` and nothing else; false when there
    // is no such task or it cannot be deleted.
    virtual bool DeleteTask(const std::u16string& path) = 0;
    // Switches the task at exactly `path` on or off (its enabled flag, as
    // the Task Scheduler shows it); it stays registered. False when there is
    // no such task or the service refused.
    virtual bool SetTaskEnabled(const std::u16string& path, bool enabled) = 0;
};

}  // namespace tv
