#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <aclapi.h>
#include <shlwapi.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/win32/HandlePaths.h"
#include "platform/win32/NativePaths.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// What the system holds of a file or folder, through any link to it.
// Backup semantics open a folder; no access beyond its attributes is asked,
// which no sharing mode refuses, so an entry in use by anyone still answers.
bool InformationOf(const std::u16string& path, BY_HANDLE_FILE_INFORMATION* information) {
    if (path.empty()) return false;
    ScopedHandle handle(CreateFileW(NativePath(Wide(path)).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle && GetFileInformationByHandle(handle.Get(), information);
}

std::u16string Exact(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

// The name as the A-calls give it: a character the code page lacks is '?'.
std::string Narrow(const wchar_t* text) { return AnsiFromWide(text); }

std::u16string Exact(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) const { return ExistsW(Exact(path)); }

bool Win32FileSystem::ExistsW(const std::u16string& path) const {
    return !path.empty() && PathFileExistsW(NativePath(Wide(path)).c_str()) != FALSE;
}

bool Win32FileSystem::IsFolder(const std::string& path) const {
    DWORD attributes = GetFileAttributesA(NativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::ListFolder(const std::string& folder,
                                 std::vector<FolderEntry>* entries) const {
    return ListFolderW(Exact(folder), entries);
}

bool Win32FileSystem::ListFolderW(const std::u16string& folder,
                                  std::vector<FolderEntry>* entries) const {
    bool more = false;
    return ListFolderUpToW(folder, static_cast<std::size_t>(-1), entries, &more);
}

bool Win32FileSystem::ListFolderUpToW(const std::u16string& folder, std::size_t limit,
                                      std::vector<FolderEntry>* entries, bool* more) const {
    entries->clear();
    *more = false;
    std::wstring pattern = NativePath(Wide(folder));
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) return false;
    do {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0)
            continue;
        // One entry past the limit only says that there are more.
        if (entries->size() == limit) {
            *more = true;
            break;
        }
        entries->push_back({EntryName(Narrow(data.cFileName), Exact(data.cFileName)),
                            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                            (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
                            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find.Get(), &data));
    return true;
}

bool Win32FileSystem::FolderIdentity(const std::string& folder, FileIdentity* identity) const {
    return FolderIdentityW(Exact(folder), identity);
}

bool Win32FileSystem::FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!InformationOf(folder, &information) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    identity->volumeSerial = information.dwVolumeSerialNumber;
    identity->fileIndex =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

bool Win32FileSystem::FileStampW(const std::u16string& path, FileStamp* stamp) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!InformationOf(path, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp->size =
        (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    stamp->lastWrite = (static_cast<std::uint64_t>(information.ftLastWriteTime.dwHighDateTime) << 32) |
                       information.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return DeleteFileA(NativePath(path).c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(NativePath(path).c_str()) != FALSE;
}

namespace {

// Opens the file or folder at `path` itself: a link there is opened as the
// link, not followed.
ScopedHandle OpenOwn(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                     DWORD flags) {
    return ScopedHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                    flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool IsPlain(HANDLE handle, bool folder) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(handle, &information) &&
           !(information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// True when the open file or folder is at `path` itself, no link on the way.
bool LandedAt(HANDLE handle, const std::wstring& path) {
    std::wstring final;
    if (FinalPathOf(handle, &final)) return SamePath(final, path);
    return NoLinkOnTheWay(path);
}

std::wstring ParentOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash == 2 ? 3 : slash);
}

// A folder this program writes into, held open so that it cannot be renamed
// or replaced meanwhile; empty unless it is a plain folder at `path` itself.
ScopedHandle OpenPlainFolder(const std::wstring& path, DWORD access) {
    ScopedHandle folder = OpenOwn(path, access | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS);
    if (!folder || !IsPlain(folder.Get(), true) || !LandedAt(folder.Get(), path)) return {};
    return folder;
}

// A file written by this program and still open.
class Win32NewFile : public NewFile {
public:
    explicit Win32NewFile(ScopedHandle file) : file_(std::move(file)) {}
    void Discard() override {
        if (file_) DiscardThroughHandle(file_.Get());
        file_.Reset();
    }

private:
    ScopedHandle file_;
};

}  // namespace

bool Win32FileSystem::CreateFolder(const std::string& path) {
    std::wstring wide = WidePath(path);
    while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
    if (wide.empty() || !OpenPlainFolder(ParentOf(wide), 0)) return false;
    const bool made = CreateDirectoryW(wide.c_str(), nullptr) != FALSE;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (OpenPlainFolder(wide, 0)) return true;
    // Made where a link led meanwhile: it goes again, through its handle.
    if (made) {
        ScopedHandle stray = OpenOwn(wide, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (stray) DiscardThroughHandle(stray.Get());
    }
    return false;
}

namespace {

// A SID in a buffer of its own.
using SidBytes = std::vector<BYTE>;

SidBytes WellKnown(WELL_KNOWN_SID_TYPE type) {
    SidBytes sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return {};
    sid.resize(size);
    return sid;
}

// The owner and the DACL of an open file or folder, as the system keeps
// them; false when they cannot be read.
struct Descriptor {
    LocalMemory memory;
    PSID owner = nullptr;
    PACL dacl = nullptr;
};

bool ReadDescriptor(HANDLE handle, Descriptor* descriptor) {
    PSECURITY_DESCRIPTOR memory = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                        &descriptor->owner, nullptr, &descriptor->dacl, nullptr, &memory) != ERROR_SUCCESS)
        return false;
    descriptor->memory.Reset(memory);
    return descriptor->owner != nullptr;
}

// What anyone besides the trusted may be allowed: reading, listing,
// traversing and reading the descriptor.
constexpr DWORD kReadingOnly = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | GENERIC_READ | GENERIC_EXECUTE;

// True when the folder is this program's kind: its owner is SYSTEM,
// Administrators or `parentOwner` (who owns the place it is in and could
// replace it anyway), and every allowed entry of its DACL that gives more
// than reading names one of them. A missing DACL allows everything; an
// allowing entry of a kind not known here is not trusted. Entries that
// only apply to what is made inside count too: they would reach the files.
bool KeptForAdministrators(HANDLE folder, const SidBytes& parentOwner) {
    Descriptor descriptor;
    if (!ReadDescriptor(folder, &descriptor) || descriptor.dacl == nullptr) return false;
    auto trusted = [&parentOwner](PSID sid) {
        return IsValidSid(sid) &&
               (IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                (!parentOwner.empty() && EqualSid(sid, const_cast<BYTE*>(parentOwner.data()))));
    };
    if (!trusted(descriptor.owner)) return false;
    for (DWORD i = 0; i < descriptor.dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(descriptor.dacl, i, &entry)) return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        switch (header->AceType) {
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
            continue;  // a denial takes nothing away from administrators
        case ACCESS_ALLOWED_ACE_TYPE: {
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
            if ((allowed->Mask & ~kReadingOnly) != 0 && !trusted(&allowed->SidStart)) return false;
            continue;
        }
        default:
            return false;
        }
    }
    return true;
}

SidBytes OwnerOf(HANDLE handle) {
    Descriptor descriptor;
    if (!ReadDescriptor(handle, &descriptor) || !IsValidSid(descriptor.owner)) return {};
    SidBytes sid(GetLengthSid(descriptor.owner));
    if (!CopySid(static_cast<DWORD>(sid.size()), sid.data(), descriptor.owner)) return {};
    return sid;
}

// Owner Administrators; SYSTEM and Administrators full control, Users read
// and list; every entry inherited by files and folders made inside; nothing
// inherited from the parent.
class ProtectedDescriptor {
public:
    ProtectedDescriptor()
        : system_(WellKnown(WinLocalSystemSid)),
          administrators_(WellKnown(WinBuiltinAdministratorsSid)),
          users_(WellKnown(WinBuiltinUsersSid)),
          acl_(sizeof(ACL) + 3 * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE)) {
        ACL* acl = reinterpret_cast<ACL*>(acl_.data());
        const DWORD inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        ok_ = !system_.empty() && !administrators_.empty() && !users_.empty() &&
              InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
              AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, FILE_ALL_ACCESS, system_.data()) &&
              AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, FILE_ALL_ACCESS, administrators_.data()) &&
              AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE,
                                    users_.data()) &&
              InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorOwner(&descriptor_, administrators_.data(), FALSE) &&
              SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
              SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    // Null when it could not be built.
    SECURITY_ATTRIBUTES* Attributes() {
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
        return ok_ ? &attributes_ : nullptr;
    }

private:
    SidBytes system_, administrators_, users_;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ok_ = false;
};

}  // namespace

ProtectedFolder Win32FileSystem::CreateProtectedFolder(const std::string& path) {
    std::wstring wide = WidePath(path);
    while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
    if (wide.empty()) return ProtectedFolder::kFailed;
    const ScopedHandle parent = OpenPlainFolder(ParentOf(wide), READ_CONTROL);
    if (!parent) return ProtectedFolder::kFailed;
    ProtectedDescriptor descriptor;
    SECURITY_ATTRIBUTES* attributes = descriptor.Attributes();
    if (!attributes) return ProtectedFolder::kFailed;
    const bool made = CreateDirectoryW(wide.c_str(), attributes) != FALSE;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) return ProtectedFolder::kFailed;
    {
        // Held while it is judged, so that it cannot be swapped meanwhile.
        const ScopedHandle folder = OpenPlainFolder(wide, READ_CONTROL);
        if (folder && KeptForAdministrators(folder.Get(), OwnerOf(parent.Get())))
            return ProtectedFolder::kUsable;
    }
    if (!made) return ProtectedFolder::kNotOurs;
    // Made where a link led meanwhile, or not as asked: it goes again.
    ScopedHandle stray = OpenOwn(wide, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (stray) DiscardThroughHandle(stray.Get());
    return ProtectedFolder::kFailed;
}

std::unique_ptr<NewFile> Win32FileSystem::WriteNewFile(const std::string& path,
                                                       const std::string& bytes) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) return nullptr;
    // Only read access is shared: while the writer holds the file nobody
    // renames or deletes it.
    ScopedHandle file = OpenOwn(wide, GENERIC_WRITE | DELETE, FILE_SHARE_READ, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL);
    if (!file) return nullptr;
    bool written = LandedAt(file.Get(), wide);
    std::size_t done = 0;
    while (written && done < bytes.size()) {
        const std::size_t rest = bytes.size() - done;
        const DWORD chunk = rest > 0x10000000u ? 0x10000000u : static_cast<DWORD>(rest);
        DWORD wrote = 0;
        written = WriteFile(file.Get(), bytes.data() + done, chunk, &wrote, nullptr) &&
                  wrote == chunk;
        done += wrote;
    }
    written = written && FlushFileBuffers(file.Get());
    auto result = std::make_unique<Win32NewFile>(std::move(file));
    // A file cut short (disk full) would restore less than it claims, and
    // one a link led elsewhere must not stay there.
    if (!written) {
        result->Discard();
        return nullptr;
    }
    return result;
}

bool Win32FileSystem::MoveFileOut(const std::string& from, const std::string& within,
                                  const std::string& to) {
    return MoveFileOutW(Exact(from), Exact(within), Exact(to));
}

bool Win32FileSystem::MoveFileOutW(const std::u16string& from, const std::u16string& within,
                                   const std::u16string& to) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    const std::wstring folderPath = Wide(within);
    const std::size_t slash = target.find_last_of(L'\\');
    if (source.empty() || folderPath.empty() || slash == std::wstring::npos) return false;
    // Whatever the folder `within` leads to is where the file must be.
    std::wstring inside;
    {
        ScopedHandle folder(CreateFileW(folderPath.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!folder) return false;
        if (!FinalPathOf(folder.Get(), &inside)) inside = folderPath;
    }
    ScopedHandle file = OpenOwn(source, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    if (!file || !IsPlain(file.Get(), false)) return false;
    std::wstring final;
    if (FinalPathOf(file.Get(), &final) ? !PathInside(final, inside)
                                        : !NoLinkOnTheWay(source) || !PathInside(source, inside))
        return false;
    ScopedHandle folder = OpenPlainFolder(target.substr(0, slash == 2 ? 3 : slash),
                                          FILE_TRAVERSE | FILE_ADD_FILE);
    return folder && RenameInto(file.Get(), folder.Get(), target.substr(slash + 1));
}

std::string Win32FileSystem::WorkingFolder() const {
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return {};
    std::string buffer(size, '\0');
    DWORD length = GetCurrentDirectoryA(size, buffer.data());
    buffer.resize(length < size ? length : 0);
    return buffer;
}

bool Win32FileSystem::SetWorkingFolder(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

}  // namespace tv
