// The fake file system: files and folders in memory, open handles with
// their access and share modes, and a record of every open and write so
// tests can see how a file was opened and how many calls wrote it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "os/errors.h"
#include "os/fake/faults.h"
#include "os/files.h"

namespace os::fake {

class FakeFiles final : public Files {
 public:
  struct OpenRecord {
    std::u16string path;
    DWORD desiredAccess;
    DWORD shareMode;
    DWORD creationDisposition;
    DWORD flagsAndAttributes;
  };

  FakeFiles(Errors& errors, Faults& faults) : errors_(errors), faults_(faults) {}

  // Test set-up and inspection.
  std::u16string systemDirectory = u"C:\\windows\\system32";
  void SetModulePath(std::u16string path);
  void AddFolder(const std::u16string& path);
  void PutFile(const std::u16string& path, std::vector<std::uint8_t> bytes);
  bool Exists(const std::u16string& path) const;
  std::vector<std::uint8_t> Contents(const std::u16string& path) const;
  std::u16string CurrentDirectory() const;
  std::vector<OpenRecord> Opens() const;
  std::size_t WriteCalls(const std::u16string& path) const;
  std::size_t OpenHandles() const;

  DWORD GetModuleFileNameW(HMODULE module, char16_t* buffer,
                           DWORD size) override;
  BOOL PathRemoveFileSpecW(char16_t* path) override;
  BOOL SetCurrentDirectoryW(const char16_t* path) override;
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override;
  FileHandle CreateFileW(const char16_t* name, DWORD desiredAccess,
                         DWORD shareMode, void* securityAttributes,
                         DWORD creationDisposition, DWORD flagsAndAttributes,
                         FileHandle templateFile) override;
  BOOL ReadFile(FileHandle file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
                void* overlapped) override;
  BOOL WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                 DWORD* bytesWritten, void* overlapped) override;
  BOOL SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                        std::int64_t* newFilePointer,
                        DWORD moveMethod) override;
  BOOL GetFileSizeEx(FileHandle file, std::int64_t* size) override;
  BOOL CopyFileW(const char16_t* existing, const char16_t* newFile,
                 BOOL failIfExists) override;
  BOOL DeleteFileW(const char16_t* name) override;
  BOOL CloseHandle(FileHandle object) override;

 private:
  struct Node {
    std::vector<std::uint8_t> bytes;
    std::size_t writeCalls = 0;
  };
  struct Open {
    std::u16string key;
    std::shared_ptr<Node> node;
    DWORD access;
    DWORD share;
    std::uint64_t position = 0;
  };

  std::u16string KeyOf(std::u16string_view path) const;
  bool SharingAllows(const std::u16string& key, DWORD access,
                     DWORD share) const;
  Open* Find(FileHandle handle);
  BOOL Fail(DWORD code);

  Errors& errors_;
  Faults& faults_;
  mutable std::mutex mutex_;
  std::u16string modulePath_;
  std::u16string currentDirectory_ = u"c:\\";
  std::set<std::u16string> folders_;
  std::map<std::u16string, std::shared_ptr<Node>> files_;
  std::map<FileHandle, Open> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  std::vector<OpenRecord> opens_;
};

}  // namespace os::fake
