// Collects what a change is about to overwrite or delete, read from the
// registry as it stands, into a restore file in the registry editor's
// format. Importing the file puts every recorded key and value back as it
// was, and deletes what the change will have added.
//
// Everything is read through the W-functions, so names and string data in
// any script are written exactly; paths and names given as 8-bit text are
// the code page's. Key paths are written exactly as given, so a caller that works on the
// other registry view passes the path as a 64-bit program sees it
// ("Software\Wow6432Node\...") together with the view bits it opens it
// with.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "restore/RegExport.h"

namespace tv {

class RegBackup {
public:
    RegBackup(Registry& registry, const TextCodec& codec);

    void Comment(const std::string& text);
    void Comment(const std::u16string& text);

    // A value the change deletes: recorded when it exists. False when the
    // value (or its key) is absent, so there is nothing to restore.
    bool AddValue(RegHandle root, const std::string& path, const std::string& name,
                  std::uint32_t view = 0);
    // The same for a value named exactly (as the W-functions list it).
    bool AddValue(RegHandle root, const std::string& path, const std::u16string& name,
                  std::uint32_t view = 0);
    // A value the change writes: its old type and data, or, when it did not
    // exist, the form that deletes it again; when even its key is missing,
    // the form that deletes the outermost key the change will create.
    void AddValueOrAbsence(RegHandle root, const std::string& path, const std::string& name,
                           std::uint32_t view = 0);
    // The same for a key and value named exactly.
    void AddValueOrAbsence(RegHandle root, const std::u16string& path, const std::u16string& name,
                           std::uint32_t view = 0);
    // A key the change creates, named exactly: the form that deletes the
    // outermost of it and its parents that is missing now. Nothing when the
    // key exists already.
    void AddNewKey(RegHandle root, const std::u16string& path, std::uint32_t view = 0);
    // A value the file deletes, whatever is there now.
    void AddValueDeletion(RegHandle root, const std::string& path, const std::string& name);
    void AddValueDeletion(RegHandle root, const std::string& path, const std::u16string& name);
    void AddValueDeletion(RegHandle root, const std::u16string& path, const std::u16string& name);
    // A key the change deletes, with every value and subkey below it. False
    // when the key is absent.
    bool AddKeyTree(RegHandle root, const std::string& path, std::uint32_t view = 0);
    // The same for a key named exactly.
    bool AddKeyTree(RegHandle root, const std::u16string& path, std::uint32_t view = 0);

    // Something was recorded besides comments.
    bool HasContent() const { return hasContent_; }
    // A key or value that exists could not be read, or has a name a line
    // of the file cannot carry: the file would not restore it, so the
    // change must not go ahead.
    bool Failed() const { return failed_; }
    std::string Bytes() const { return writer_.Bytes(); }

private:
    enum class Read { Found, Absent, Failed };

    std::u16string Wide(const std::string& text) const { return codec_.AnsiToWide(text); }
    // Deletes, on import, the outermost key of `path` that is missing now.
    void AddMissingKey(RegHandle root, const std::u16string& path, std::uint32_t view);
    // The one place keys are opened for reading: every path with the same
    // view bits.
    Read OpenForBackup(RegHandle parent, const std::u16string& path, std::uint32_t view,
                       RegKey* key);
    // The type and bytes (strings as UTF-16LE) of one value of an open key.
    Read ReadValue(const RegKey& key, const std::u16string& name, std::uint32_t* type,
                   std::string* data);
    // Every name an enumeration gives; an error before its end fails the
    // backup.
    std::vector<std::u16string> AllNames(
        const RegKey& key,
        long (Registry::*enumerate)(RegHandle, std::uint32_t, std::u16string*));
    void WriteTree(const RegKey& key, RegHandle root, const std::u16string& path,
                   std::uint32_t view, int depth);
    // Records `path` as the key the next values belong to, once.
    void NameKey(RegHandle root, const std::u16string& path);

    Registry& registry_;
    const TextCodec& codec_;
    RegExportWriter writer_;
    bool keyNamed_ = false;
    RegHandle lastRoot_ = 0;
    std::u16string lastKey_;
    std::vector<std::pair<RegHandle, std::u16string>> deletedKeys_;
    bool hasContent_ = false;
    bool failed_ = false;
};

}  // namespace tv
