#pragma once

#include "platform/FileSystem.h"

namespace tv {

// FindFirstFileW, DeleteFileA, RemoveDirectoryA, PathFileExistsW,
// CreateDirectoryW, CreateFileW/WriteFile, GetFileInformationByHandle,
// GetFinalPathNameByHandleW, renames and deletions through handles,
// GetSecurityInfo on folders kept for this program, and the
// current-directory calls. The A-forms that have exact twins convert with
// the code page and go through them.
class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) const override;
    bool IsFolder(const std::string& path) const override;
    bool ListFolder(const std::string& folder,
                    std::vector<FolderEntry>* entries) const override;
    bool FolderIdentity(const std::string& folder, FileIdentity* identity) const override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    ProtectedFolder CreateProtectedFolder(const std::string& path) override;
    std::unique_ptr<NewFile> WriteNewFile(const std::string& path,
                                          const std::string& bytes) override;
    bool MoveFileOut(const std::string& from, const std::string& within,
                     const std::string& to) override;
    bool ExistsW(const std::u16string& path) const override;
    bool ListFolderW(const std::u16string& folder,
                     std::vector<FolderEntry>* entries) const override;
    bool ListFolderUpToW(const std::u16string& folder, std::size_t limit,
                         std::vector<FolderEntry>* entries, bool* more) const override;
    bool FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const override;
    bool FileStampW(const std::u16string& path, FileStamp* stamp) const override;
    bool MoveFileOutW(const std::u16string& from, const std::u16string& within,
                      const std::u16string& to) override;
    std::string WorkingFolder() const override;
    bool SetWorkingFolder(const std::string& path) override;
};

}  // namespace tv
