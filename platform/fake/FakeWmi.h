// Management objects a test sets up per class; a class can be made to fail
// its query run. Records every query and how many objects were taken.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Wmi.h"

namespace tv {

class FakeWmi : public Wmi {
public:
    struct Run {
        std::string wql;
        std::vector<std::string> properties;
        int objectsHanded = 0;
    };

    // Objects by class name. The WQL must be "SELECT * FROM <class>".
    std::map<std::string, std::vector<WmiObject>> classes;
    // Classes whose query run fails; `available` false fails every run.
    std::set<std::string> failing;
    bool available = true;
    // Called as each query run begins (on the thread that runs it); a
    // query that hangs hangs here, deaf to stop requests.
    std::function<void()> beforeQuery;

    const std::vector<Run>& Runs() const { return runs_; }

    bool Query(const std::string& wql, const std::vector<std::string>& properties,
               const std::function<bool(const WmiObject&)>& onObject,
               const std::function<bool()>& stop) override {
        if (beforeQuery) beforeQuery();
        runs_.push_back({wql, properties, 0});
        const std::string prefix = "SELECT * FROM ";
        if (!available || wql.compare(0, prefix.size(), prefix) != 0) return false;
        const std::string className = wql.substr(prefix.size());
        if (failing.count(className)) return false;
        auto it = classes.find(className);
        if (it == classes.end()) return true;  // a known namespace, no objects
        for (const WmiObject& object : it->second) {
            if (stop && stop()) return false;
            // Only the properties asked for, as the platform reads them.
            WmiObject read;
            for (const std::string& name : properties) {
                auto value = object.find(name);
                read[name] = value == object.end() ? WmiValue{} : value->second;
            }
            ++runs_.back().objectsHanded;
            if (!onObject(read)) break;
        }
        return true;
    }

private:
    std::vector<Run> runs_;
};

}  // namespace tv
