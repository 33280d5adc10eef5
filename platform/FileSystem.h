// Files and folders, behind the seam so the logic that lists and deletes
// them can run against an in-memory tree. Paths are 8-bit text in the system
// code page, with backslash separators, compared case-insensitively. A name
// with characters outside the code page reads there with '?' for each, which
// names no file; the W-forms take and give paths exactly (UTF-16), for
// wherever a name must identify its entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/EntryName.h"

namespace tv {

struct FolderEntry {
    // The file name only, never "." or "..": exactly as the system stores
    // it, with its code-page form.
    EntryName name;
    bool folder = false;
    bool readOnly = false;
    // A folder that is a junction or symbolic link: it stands for another
    // folder, whose contents are not its own.
    bool link = false;
};

// What names a folder on its volume whatever path reaches it: a link to a
// folder gives the identity of the folder it stands for.
struct FileIdentity {
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileIndex = 0;
    bool operator==(const FileIdentity& other) const {
        return volumeSerial == other.volumeSerial && fileIndex == other.fileIndex;
    }
    bool operator<(const FileIdentity& other) const {
        return volumeSerial != other.volumeSerial ? volumeSerial < other.volumeSerial
                                                  : fileIndex < other.fileIndex;
    }
};

// What tells one version of a file from the next: its size in bytes and its
// last write time (FILETIME units). Equal stamps mean the file is taken as
// unchanged.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && lastWrite == other.lastWrite;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// What CreateProtectedFolder found.
enum class ProtectedFolder {
    kUsable,   // made now, or this program's own from before
    kNotOurs,  // something else has the name: leave it, take another
    kFailed,   // nothing can be made there (parent missing or a link)
};

// A file just written, held open by the one who wrote it.
class NewFile {
public:
    // Keeps the file.
    virtual ~NewFile() = default;
    // Removes the file through the handle it was written with.
    virtual void Discard() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // PathFileExists: a file or a folder by that path.
    virtual bool Exists(const std::string& path) const = 0;
    virtual bool IsFolder(const std::string& path) const = 0;
    // Everything directly inside `folder` (the pattern "*.*"), without "."
    // and "..". False when the folder cannot be listed.
    virtual bool ListFolder(const std::string& folder,
                            std::vector<FolderEntry>* entries) const = 0;
    // The identity of an existing folder (volume serial number and file
    // index); false for a file or a missing path.
    virtual bool FolderIdentity(const std::string& folder, FileIdentity* identity) const = 0;
    // DeleteFile: false for a missing, read-only or busy file.
    virtual bool RemoveFile(const std::string& path) = 0;
    // RemoveDirectory: false unless the folder exists and is empty.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // CreateDirectory for a folder this program writes into: true when a
    // plain folder is there afterwards (made now or already there), reached
    // through no link: neither it nor a folder above it is a junction or
    // symbolic link. False when its parent is missing, it cannot be made, or
    // a link leads elsewhere.
    virtual bool CreateFolder(const std::string& path) = 0;
    // A folder this program keeps its own files in, where only
    // administrators may change them. Made now (its parent a plain folder
    // reached through no link) with its own descriptor: owner
    // Administrators, full control for SYSTEM and Administrators, reading
    // for Users, nothing inherited from above; what is made in it inherits
    // that. A folder already there is used only when it is a plain folder
    // owned by SYSTEM or Administrators (or by whoever owns its parent, who
    // could replace it anyway) that lets nobody else do more than read.
    virtual ProtectedFolder CreateProtectedFolder(const std::string& path) = 0;
    // Writes `bytes` as a new file and keeps it open: null when the path is
    // taken, the folder is missing, the write does not complete, or the file
    // did not land at `path` itself (a link on the way); then nothing is left
    // there. The file stays when the result is released; Discard() removes
    // it through its own handle, never by name.
    virtual std::unique_ptr<NewFile> WriteNewFile(const std::string& path,
                                                  const std::string& bytes) = 0;
    // Moves the file `from` to `to`, on the same volume only (no copy), and
    // only when `from` is a file that is no link and lies, through whatever
    // folders lead there, inside the folder `within`, and `to` lies in a
    // plain folder reached through no link. The file checked is the file
    // moved: a path swapped for a link meanwhile moves nothing. False when
    // anything fails; then nothing moved.
    virtual bool MoveFileOut(const std::string& from, const std::string& within,
                             const std::string& to) = 0;

    // The same, with exact paths.
    virtual bool ExistsW(const std::u16string& path) const = 0;
    virtual bool ListFolderW(const std::u16string& folder,
                             std::vector<FolderEntry>* entries) const = 0;
    // ListFolderW that keeps at most `limit` entries and says in *more
    // whether the folder holds others: a folder of any size costs no more
    // than that many.
    virtual bool ListFolderUpToW(const std::u16string& folder, std::size_t limit,
                                 std::vector<FolderEntry>* entries, bool* more) const {
        if (!ListFolderW(folder, entries)) return false;
        *more = entries->size() > limit;
        if (*more) entries->resize(limit);
        return true;
    }
    virtual bool FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const = 0;
    // The stamp of the file a path leads to (through any link, as opening
    // it would); false for a folder or a missing path. Reads attributes
    // only: a file someone holds open without sharing still answers.
    virtual bool FileStampW(const std::u16string& path, FileStamp* stamp) const = 0;
    virtual bool MoveFileOutW(const std::u16string& from, const std::u16string& within,
                              const std::u16string& to) = 0;

    // The process's current directory.
    virtual std::string WorkingFolder() const = 0;
    virtual bool SetWorkingFolder(const std::string& path) = 0;
};

}  // namespace tv
