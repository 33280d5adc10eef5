// What the file, drive and environment contract tests run against: the
// in-memory fakes natively, the Win32 adapters under Wine. A scratch folder
// of this run's own holds whatever the tests make.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

struct FilesUnderTest {
    std::unique_ptr<tv::FileSystem> files;
    std::unique_ptr<tv::Drives> drives;
    std::unique_ptr<tv::Environment> environment;
    // An existing empty folder that belongs to the test.
    std::string scratch;
    // Makes a file (read-only if asked) in the real or fake tree.
    virtual void MakeFile(const std::string& path, bool readOnly = false) = 0;
    virtual void MakeFolder(const std::string& path) = 0;
    // The same by exact path, for names outside the code page.
    virtual void MakeFile(const std::u16string& path) = 0;
    virtual void MakeFolder(const std::u16string& path) = 0;
    // A junction or symbolic link at `link` to the folder `target`; false
    // when none can be made here.
    virtual bool MakeLink(const std::string& link, const std::string& target) = 0;
    // The bytes of a file, read past the seam.
    virtual std::string ReadFile(const std::string& path) = 0;
    // Makes the file deletable again, whatever the test did to it.
    virtual void Release(const std::string& path) = 0;
    // True where the file system keeps the owner and the entries a folder
    // is given (Windows 7's NTFS). Wine keeps none: every file reads back
    // owned by the user, with entries made from its Unix mode bits.
    virtual bool KeepsDescriptors() = 0;
    // The owner of a file or folder as a SID ("S-1-5-32-544"), read past
    // the seam; empty when it cannot be read.
    virtual std::string Owner(const std::string& path) = 0;
    // The SIDs its DACL allows more than reading, sorted, each once.
    virtual std::vector<std::string> Writers(const std::string& path) = 0;
    // What a program of the user's may do to a folder it made: own it
    // (false where the owner cannot be set), let everyone add files.
    virtual bool GiveToUser(const std::string& path) = 0;
    virtual void LetEveryoneWrite(const std::string& path) = 0;
    // Sets an environment variable of this process, past the seam.
    virtual void PlantVariable(const std::string& name, const std::string& value) = 0;
    virtual ~FilesUnderTest() = default;
};

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest();
