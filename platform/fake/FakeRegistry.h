// In-memory registry behaving like the Windows one: names are kept as
// UTF-16, as Windows keeps them; the A-functions see them through the code
// page the store is given (UseCodec; without one, each byte stands for the
// character of the same number), so a name with characters outside it
// reads as '?' there, and an A-name finds only the value whose UTF-16 name
// it converts to. String data keeps the form it was written in and is
// converted when read in the other form. Names match without regard to
// ASCII case (Windows folds other letters too) but keep the case they were
// created with; subkeys enumerate in case-insensitive name order (upper-case
// folding, as Windows orders them), values in creation order; value data is
// kept as the exact bytes given. Every call takes its names as C strings,
// as Windows does (a name stops at its first NUL); a value whose name has a
// NUL in it is made as the native calls make one (SetValueCountedW), and
// enumerates with its whole name. Handle access rights are checked for value
// and enumeration calls. Safe to call from several threads at once, as the
// real one is.
//
// HKCR merges the user's classes over the machine's as Windows 7 does (Wine
// does not: there HKCR is the machine's classes alone): a key below HKCR is
// HKCU\Software\Classes\<path> when that exists, else
// HKLM\Software\Classes\<path>, decided per key, also for keys opened
// below a key that was opened through HKCR; a key created through HKCR that
// the user does not have lands on the machine's side. Values and
// enumerations are those of the one key reached (Windows would list the
// subkeys of both).
//
// Views: by default one view, as on 32-bit Windows (view bits ignored). Made
// for 64-bit Windows it keeps the 32-bit view's copy of a redirected key
// where Windows keeps it (HKLM\Software\Wow6432Node, HKCR\Wow6432Node\CLSID)
// and shares the keys Windows shares, as far as the program uses them: an
// open, create or delete in the 32-bit view lands on the Wow6432Node copy.
// As on Windows 7 (and unlike Wine), a handle does not keep its view: a path
// below an opened key is redirected again, by its full path, in the view
// the call itself names.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/TextCodec.h"
#include "platform/fake/PackedNames.h"

namespace tv {

class FakeRegistry : public Registry {
public:
    enum class Views {
        One,                   // a 32-bit system
        TwoFor32BitProgram,    // a 64-bit system seen by a 32-bit program
        TwoFor64BitProgram,    // a 64-bit system seen by a 64-bit program
    };

    explicit FakeRegistry(Views views = Views::One);
    ~FakeRegistry() override;

    long OpenKey(RegHandle parent, const std::string& path,
                 std::uint32_t access, RegHandle* key) override;
    long CreateKey(RegHandle parent, const std::string& path,
                   RegHandle* key, std::uint32_t view = 0) override;
    long QueryValue(RegHandle key, const std::string& name,
                    std::uint32_t* type, void* data,
                    std::uint32_t* size) override;
    long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                  const void* data, std::uint32_t size) override;
    long DeleteValue(RegHandle key, const std::string& name) override;
    long DeleteKey(RegHandle parent, const std::string& subkey,
                   std::uint32_t view = 0) override;
    long EnumValue(RegHandle key, std::uint32_t index,
                   std::string* name) override;
    long EnumValueData(RegHandle key, std::uint32_t index, std::string* name,
                       std::uint32_t* type, void* data, std::uint32_t* size) override;
    long EnumKey(RegHandle key, std::uint32_t index,
                 std::string* name) override;
    long CloseKey(RegHandle key) override;

    long OpenKeyW(RegHandle parent, const std::u16string& path,
                  std::uint32_t access, RegHandle* key) override;
    long CreateKeyW(RegHandle parent, const std::u16string& path,
                    RegHandle* key, std::uint32_t view = 0) override;
    long QueryValueW(RegHandle key, const std::u16string& name,
                     std::uint32_t* type, void* data,
                     std::uint32_t* size) override;
    long SetValueW(RegHandle key, const std::u16string& name, std::uint32_t type,
                   const void* data, std::uint32_t size) override;
    long DeleteValueW(RegHandle key, const std::u16string& name) override;
    long DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                    std::uint32_t view = 0) override;
    long EnumValueW(RegHandle key, std::uint32_t index,
                    std::u16string* name) override;
    long EnumKeyW(RegHandle key, std::uint32_t index,
                  std::u16string* name) override;

    // NtSetValueKey: the name counted, a NUL in it kept (no Win32 call can
    // make such a value; a program of the user's can).
    long SetValueCountedW(RegHandle key, const std::u16string& name, std::uint32_t type,
                          const void* data, std::uint32_t size);

    // The code page the A-functions convert through.
    void UseCodec(std::shared_ptr<const TextCodec> codec) { codec_.Use(std::move(codec)); }

    // Switches the views before use (a fresh store).
    void UseViews(Views views) { views_ = views; }
    // True once any open or create asked for a view: 32-bit Windows before
    // XP knows no views, so the program must not ask for one there.
    bool ViewBitsSeen() const { return view_bits_seen_; }

    // Handles opened or created and not yet closed.
    std::size_t OpenHandleCount() const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return handles_.size();
    }

private:
    struct Node;
    struct OpenHandle {
        std::shared_ptr<Node> node;
        std::uint32_t access;
        bool viaClasses = false;  // opened through HKCR: `classPath` below it
        std::string classPath;
    };

    // The live key behind `key` if it grants `access`, else an error.
    long Resolve(RegHandle key, std::uint32_t access,
                 std::shared_ptr<Node>* node) const;
    // Walks `path` below `start`, creating missing keys when `create`.
    static long Walk(const std::shared_ptr<Node>& start,
                     const std::string& path, bool create,
                     std::shared_ptr<Node>* node);
    RegHandle AddHandle(std::shared_ptr<Node> node, std::uint32_t access);
    // The key `path` below HKCR reaches (already in its view): the user's
    // if there is one, else the machine's (created there when `create`).
    long ClassNode(const std::string& path, bool create, std::shared_ptr<Node>* node) const;
    // True with the HKCR path when `parent`/`path` is reached through HKCR.
    bool ClassPath(RegHandle parent, const std::string& path, std::uint32_t access,
                   std::string* classPath) const;
    // The path a root-relative open in `access`'s view really reaches.
    std::string ViewPath(RegHandle parent, const std::string& path,
                         std::uint32_t access) const;
    // Where a call below `parent` starts and the path it walks from there,
    // the views applied.
    long Start(RegHandle parent, const std::string& path, std::uint32_t access,
               std::shared_ptr<Node>* start, std::string* walk) const;
    long OpenOrCreate(RegHandle parent, const std::string& path, bool create,
                      std::uint32_t access, RegHandle* key);

    // Names and paths are kept in one 8-bit form that holds every UTF-16
    // name exactly (see PackedNames.h): these turn A-text into it and back.
    std::string In(const std::string& ansi) const;
    std::string Out(const std::string& packed) const;
    // String data in the other form than it was written in.
    std::string ToAnsiData(const std::string& wideBytes) const;
    std::string ToWideData(const std::string& ansi) const;

    long Open(RegHandle parent, const std::string& path, bool create,
              std::uint32_t access, RegHandle* key);
    long Query(RegHandle key, const std::string& name, bool wide, std::uint32_t* type,
               void* data, std::uint32_t* size);
    long Set(RegHandle key, const std::string& name, bool wide, std::uint32_t type,
             const void* data, std::uint32_t size);
    long RemoveValue(RegHandle key, const std::string& name);
    long RemoveKey(RegHandle parent, const std::string& subkey, std::uint32_t view);
    long ValueAt(RegHandle key, std::uint32_t index, std::string* name);
    long KeyAt(RegHandle key, std::uint32_t index, std::string* name);

    Views views_;
    std::shared_ptr<Node> current_user_;
    std::shared_ptr<Node> local_machine_;
    std::shared_ptr<Node> classes_;
    std::map<RegHandle, OpenHandle> handles_;
    RegHandle next_handle_ = 0x1000;
    bool view_bits_seen_ = false;
    packed::CodecSetting codec_;
    // Copies of the registry (tests take snapshots) get a lock of their own.
    struct Lock : std::recursive_mutex {
        Lock() = default;
        Lock(const Lock&) : std::recursive_mutex() {}
        Lock& operator=(const Lock&) { return *this; }
    };
    mutable Lock mutex_;
};

}  // namespace tv
