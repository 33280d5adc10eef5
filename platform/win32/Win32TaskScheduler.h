// The Task Scheduler 2.0 service (ITaskService), one connection per call,
// on the calling thread's COM set-up (made for the call when it has none).
#pragma once

#include "platform/TaskScheduler.h"

namespace tv {

class Win32TaskScheduler : public TaskScheduler {
public:
    std::vector<RegisteredTask> Tasks(const std::function<bool()>& stop) override;
    bool TaskXml(const std::u16string& path, std::u16string* xml) override;
    bool DeleteTask(const std::u16string& path) override;
    bool SetTaskEnabled(const std::u16string& path, bool enabled) override;
};

}  // namespace tv
