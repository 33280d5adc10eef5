// An in-memory folder tree. Tests put files and folders in it, mark files
// read-only or busy (in use: they cannot be deleted), and read back what is
// left. Names are kept as UTF-16, as Windows keeps them; the A-calls see
// them through the code page the tree is given (UseCodec; without one, each
// byte stands for the character of its number, see PackedNames.h), so a
// name with characters outside it reads as '?' there and an A-path finds
// only the entry whose UTF-16 name it converts to. Paths are C strings to
// every call, as to Windows: a path stops at its first NUL.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/fake/PackedNames.h"

namespace tv {

// Who may do what to an entry, as its owner and the allowing entries of its
// DACL say: SIDs as text ("S-1-5-32-544"), rights as the Win32 masks.
struct FakeAllowed {
    std::string sid;
    std::uint32_t mask = 0;
};
struct FakeSecurity {
    std::string owner;
    std::vector<FakeAllowed> allowed;
};

namespace fakesid {
constexpr char kSystem[] = "S-1-5-18";
constexpr char kAdministrators[] = "S-1-5-32-544";
constexpr char kUsers[] = "S-1-5-32-545";
constexpr char kEveryone[] = "S-1-1-0";
// The signed-in user, whose programs run without administrator rights.
constexpr char kUser[] = "S-1-5-21-1004336348-1177238915-682003330-1000";
}  // namespace fakesid

namespace fakeright {
constexpr std::uint32_t kAll = 0x001F01FF;             // FILE_ALL_ACCESS
constexpr std::uint32_t kReadAndExecute = 0x001200A9;  // FILE_GENERIC_READ | FILE_GENERIC_EXECUTE
constexpr std::uint32_t kAddFile = 0x00000002;         // FILE_ADD_FILE
constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
}  // namespace fakeright

// What the program's protected folder gets, and what every entry of the
// tree has unless a test says otherwise: owner Administrators, SYSTEM and
// Administrators in full control, Users reading.
FakeSecurity ProtectedFakeSecurity();

class FakeFileSystem : public FileSystem {
public:
    FakeFileSystem();

    bool Exists(const std::string& path) const override;
    bool IsFolder(const std::string& path) const override;
    bool ListFolder(const std::string& folder,
                    std::vector<FolderEntry>* entries) const override;
    bool FolderIdentity(const std::string& folder, FileIdentity* identity) const override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    // As Windows 7 keeps descriptors (Wine keeps none: there every entry
    // reads back as the user's, with entries made from its Unix mode bits).
    ProtectedFolder CreateProtectedFolder(const std::string& path) override;
    std::unique_ptr<NewFile> WriteNewFile(const std::string& path,
                                          const std::string& bytes) override;
    bool MoveFileOut(const std::string& from, const std::string& within,
                     const std::string& to) override;
    std::string WorkingFolder() const override { return Out(working_); }
    bool SetWorkingFolder(const std::string& path) override;

    bool ExistsW(const std::u16string& path) const override;
    bool ListFolderW(const std::u16string& folder,
                     std::vector<FolderEntry>* entries) const override;
    bool FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const override;
    // A made file's size is what was written to it; every file made or
    // stamped gets a later write time than the one before.
    bool FileStampW(const std::u16string& path, FileStamp* stamp) const override;
    bool MoveFileOutW(const std::u16string& from, const std::u16string& within,
                      const std::u16string& to) override;

    // The code page the A-calls convert through.
    void UseCodec(std::shared_ptr<const TextCodec> codec) { codec_.Use(std::move(codec)); }

    // Set-up: parents are made as needed. A busy file cannot be deleted.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, bool readOnly = false, bool busy = false);
    void AddFolder(const std::u16string& path);
    void AddFile(const std::u16string& path, bool readOnly = false, bool busy = false);
    // A junction or symbolic link the platform flags as such: to another
    // folder or file, `target`, which paths through it lead to; with no
    // target it holds nothing itself. Put over whatever was at `path`, as a
    // program of the user's may do between a scan and a click.
    void AddLink(const std::string& path, const std::string& target = std::string());
    // A link the platform does not flag (a Unix symbolic link under Wine):
    // listed as an ordinary folder, it shows the contents and the identity of
    // `target`, an existing folder, and paths through it lead there.
    void AddAlias(const std::string& path, const std::string& target);
    // Changes a file's size and last write time, as a program rewriting it
    // would.
    void SetStamp(const std::u16string& path, const FileStamp& stamp);
    // The owner and allowing entries of an entry, as a program of the
    // user's (or an administrator before) may have left them; files made
    // later inside a folder inherit its entries.
    void SetSecurity(const std::string& path, const FakeSecurity& security);
    // Missing entries read as an empty owner and no entries.
    FakeSecurity Security(const std::string& path) const;
    // Every path held, folders included, in their stored spelling (as the
    // A-calls see it), in case-insensitive order of the exact paths.
    std::vector<std::string> AllPaths() const;
    std::vector<std::u16string> AllPathsW() const;
    // What WriteNewFile wrote to the file (empty for any other file).
    std::string Contents(const std::string& path) const;
    // How many files written with WriteNewFile were discarded.
    int Discarded() const { return discarded_; }
    // A full disk: every write fails.
    void SetFull(bool full) { full_ = full; }

private:
    // Every path below is in the packed form (PackedNames.h).
    struct Node {
        std::string path;  // as first given, without a trailing backslash
        bool folder = false;
        bool readOnly = false;
        bool busy = false;
        bool link = false;
        std::string contents;
        std::uint64_t index = 0;  // the file index, unique among the nodes
        FileStamp stamp;
        std::string alias;        // a link's target
        FakeSecurity security = ProtectedFakeSecurity();
    };
    static std::string Key(const std::string& path);
    // The path with every link in it replaced by its target: where the
    // platform's final path of a handle opened there would point.
    std::string Resolved(const std::string& path) const;
    // True when `path` is reached through no link at all.
    bool Plain(const std::string& path) const;
    class Written;
    const Node* Find(const std::string& path) const;
    Node& Put(const std::string& path, bool folder);
    std::string In(const std::string& ansi) const;
    std::string Out(const std::string& packed) const;
    bool List(const std::string& folder, std::vector<FolderEntry>* entries) const;
    bool Identity(const std::string& folder, FileIdentity* identity) const;
    bool Move(const std::string& from, const std::string& within, const std::string& to);
    void MakeFolder(const std::string& path);
    void MakeFile(const std::string& path, bool readOnly, bool busy);

    std::map<std::string, Node> nodes_;  // by upper-cased path
    std::string working_ = "C:\\";
    bool full_ = false;
    int discarded_ = 0;
    std::uint64_t nextIndex_ = 0x10;
    // 2026-01-01 in FILETIME units, moving on a second per file made.
    std::uint64_t nextWrite_ = 134116992000000000ull;
    packed::CodecSetting codec_;
};

}  // namespace tv
