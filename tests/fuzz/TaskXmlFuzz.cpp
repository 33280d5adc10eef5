// libFuzzer target: the reader of task definitions (the XML any user may
// register a task with). The input is read three ways: as UTF-16 bytes, as
// one unit per byte, and that repeated to a long document inside <Task>.
// Nothing may crash or read out of bounds, a refused text leaves the
// definition as it was, and no document takes longer than the fuzzer's
// -timeout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "manage/TaskXml.h"
#include "platform/WideText.h"

namespace {

constexpr std::size_t kLongDocument = 128 * 1024;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

void Read(const std::u16string& xml) {
    tv::TaskDefinition definition;
    definition.execs.push_back({u"untouched", u""});
    if (!tv::ReadTaskXml(xml, &definition)) {
        Check(definition.execs.size() == 1 && definition.execs[0].command == u"untouched" &&
              definition.triggers.empty());
        return;
    }
    for (const tv::TaskExec& exec : definition.execs) {
        for (const std::u16string* part : {&exec.command, &exec.arguments}) {
            if (part->empty()) continue;
            Check(!IsSpace(part->front()) && !IsSpace(part->back()));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Read(tv::utf16::FromBytes(bytes));
    const std::u16string units(bytes.begin(), bytes.end());
    Read(units);
    if (!units.empty()) {
        std::u16string long_document = u"<Task><Actions>";
        while (long_document.size() < kLongDocument) long_document += units;
        Read(long_document + u"</Actions></Task>");
    }
    return 0;
}
