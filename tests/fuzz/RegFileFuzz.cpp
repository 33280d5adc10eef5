// libFuzzer target: the reader of registry editor files, importing into an
// in-memory registry through code page 936. The input is read as it is
// (UTF-16 with a mark, UTF-8 with a mark, or 8-bit text) and, after a
// version 5 header, its lines repeated to a long file. Nothing may crash or
// read out of bounds, a malformed text writes nothing, every key opened is
// closed, and no file takes longer than the fuzzer's -timeout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/RegFile.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/host/IconvTextCodec.h"

namespace {

constexpr std::size_t kLongFile = 128 * 1024;

void Check(bool condition) {
    if (!condition) std::abort();
}

// The keys and values below `key`, a few levels down: what an import adds
// shows there, since a fresh registry holds only HKLM\Software\Classes.
void Describe(tv::Registry& registry, tv::RegHandle key, int depth, std::string* out) {
    std::string name;
    for (std::uint32_t i = 0; registry.EnumValue(key, i, &name) == tv::kErrorSuccess; ++i)
        *out += "v:" + name + ";";
    for (std::uint32_t i = 0; registry.EnumKey(key, i, &name) == tv::kErrorSuccess; ++i) {
        *out += "k:" + name + "{";
        tv::RegHandle sub = 0;
        if (depth < 4 && registry.OpenKey(key, name, tv::kKeyRead, &sub) == tv::kErrorSuccess) {
            Describe(registry, sub, depth + 1, out);
            registry.CloseKey(sub);
        }
        *out += "}";
    }
}

std::string Described(tv::Registry& registry) {
    std::string out;
    for (tv::RegHandle root : {tv::kHkeyCurrentUser, tv::kHkeyLocalMachine, tv::kHkeyClassesRoot}) {
        Describe(registry, root, 0, &out);
        out += "|";
    }
    return out;
}

void Import(const std::string& bytes) {
    static const auto codec = std::make_shared<tv::IconvTextCodec>();
    tv::FakeRegistry registry;
    registry.UseCodec(codec);
    static const std::string fresh = [] {
        tv::FakeRegistry untouched;
        return Described(untouched);
    }();
    tv::RegFileError error;
    const bool imported = tv::ImportRegFile(registry, bytes, *codec, &error);
    Check(registry.OpenHandleCount() == 0);
    // Only a registry call that fails can leave a file half imported; the
    // text itself is checked whole before anything is written.
    if (!imported && error.message.rfind("registry call failed", 0) != 0) Check(Described(registry) == fresh);
    Check(imported || error.line >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Import(bytes);
    if (!bytes.empty()) {
        std::string long_file = "Windows Registry Editor Version 5.00\r\n";
        while (long_file.size() < kLongFile) long_file += bytes + "\r\n";
        Import(long_file);
    }
    return 0;
}
