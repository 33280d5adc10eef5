// Queries of the system's management instrumentation (namespace ROOT\CIMV2),
// one self-contained run per call. Objects arrive as maps from property name
// to a simple value, strings already in the ANSI code page.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tv {

struct WmiValue {
    enum class Kind { Absent, String, Int32, UInt32 };
    Kind kind = Kind::Absent;
    std::string text;
    std::uint32_t bits = 0;  // the 32 bits of either integer kind

    static WmiValue String(std::string s) { return {Kind::String, std::move(s), 0}; }
    static WmiValue Int32(std::int32_t v) { return {Kind::Int32, {}, static_cast<std::uint32_t>(v)}; }
    static WmiValue UInt32(std::uint32_t v) { return {Kind::UInt32, {}, v}; }
};

using WmiObject = std::map<std::string, WmiValue>;

class Wmi {
public:
    virtual ~Wmi() = default;
    // Runs a WQL query and hands each object, with the named properties
    // read (absent when the object has none), to `onObject` until it
    // returns false or the objects run out. False when a step of the run
    // fails (no service, no connection, a query the service refuses) or
    // when `stop`, asked before each object and while waiting for one, says
    // so.
    virtual bool Query(const std::string& wql, const std::vector<std::string>& properties,
                       const std::function<bool(const WmiObject&)>& onObject,
                       const std::function<bool()>& stop) = 0;
};

}  // namespace tv
