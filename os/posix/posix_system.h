// The small POSIX binding the host build of the console tool runs on:
// files and paths (with "\" read as "/"), the module path, debug output to
// standard error, and code page 1252 as the ANSI code page. Linux has no
// Windows devices, modules, services, power source, message boxes,
// registry, SetupAPI, common controls, sockets or OLE: those calls fail as
// a Windows without them would.
// One source file per area.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "os/system.h"

namespace os::posix {

class PosixErrors final : public Errors {
 public:
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;
};

class PosixFiles final : public Files {
 public:
  explicit PosixFiles(Errors& errors) : errors_(errors) {}

  DWORD GetModuleFileNameW(HMODULE module, char16_t* buffer, DWORD size) override;
  BOOL PathRemoveFileSpecW(char16_t* path) override;
  BOOL SetCurrentDirectoryW(const char16_t* path) override;
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override;
  FileHandle CreateFileW(const char16_t* name, DWORD desiredAccess, DWORD shareMode,
                         void* securityAttributes, DWORD creationDisposition,
                         DWORD flagsAndAttributes, FileHandle templateFile) override;
  BOOL ReadFile(FileHandle file, void* buffer, DWORD bytesToRead, DWORD* bytesRead,
                void* overlapped) override;
  BOOL WriteFile(FileHandle file, const void* buffer, DWORD bytesToWrite,
                 DWORD* bytesWritten, void* overlapped) override;
  BOOL SetFilePointerEx(FileHandle file, std::int64_t distanceToMove,
                        std::int64_t* newFilePointer, DWORD moveMethod) override;
  BOOL GetFileSizeEx(FileHandle file, std::int64_t* size) override;
  BOOL CopyFileW(const char16_t* existing, const char16_t* newFile, BOOL failIfExists) override;
  BOOL DeleteFileW(const char16_t* name) override;
  BOOL CloseHandle(FileHandle object) override;

 private:
  BOOL FailWithErrno();
  std::optional<BOOL> Refuse(FileHandle file, DWORD access);
  Errors& errors_;
};

class PosixDebug final : public Debug {
 public:
  void OutputDebugStringW(const char16_t* text) override;
};

class PosixText final : public Text {
 public:
  explicit PosixText(Errors& errors) : errors_(errors) {}
  int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte,
                          int multiByteCount, char16_t* wide, int wideCount) override;
  int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide, int wideCount,
                          char* multiByte, int multiByteCount, const char* defaultChar,
                          BOOL* usedDefaultChar) override;

 private:
  Errors& errors_;
};

// An executable on Linux has no resource section: the string table is
// handed in.
class PosixResources final : public Resources {
 public:
  explicit PosixResources(Errors& errors) : errors_(errors) {}
  int LoadStringW(HMODULE module, UINT id, char16_t* buffer, int bufferMax) override;

  void SetStrings(const std::map<UINT, std::u16string>* strings) { strings_ = strings; }

 private:
  Errors& errors_;
  const std::map<UINT, std::u16string>* strings_ = nullptr;
};

class PosixModules final : public Modules {
 public:
  explicit PosixModules(Errors& errors) : errors_(errors) {}
  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  HMODULE LoadLibraryW(const char16_t* fileName) override;
  BOOL FreeLibrary(HMODULE module) override;

 private:
  Errors& errors_;
};

class PosixDevices final : public Devices {
 public:
  explicit PosixDevices(Errors& errors) : errors_(errors) {}
  DeviceHandle CreateFileW(const char16_t* name, DWORD desiredAccess, DWORD shareMode,
                           void* securityAttributes, DWORD creationDisposition,
                           DWORD flagsAndAttributes, DeviceHandle templateFile) override;
  BOOL DeviceIoControl(DeviceHandle device, DWORD ioControlCode, void* inBuffer,
                       DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                       DWORD* bytesReturned, void* overlapped) override;
  BOOL CloseHandle(DeviceHandle object) override;
  BOOL DuplicateHandle(ProcessHandle sourceProcess, DeviceHandle source,
                       ProcessHandle targetProcess, DeviceHandle* target,
                       DWORD desiredAccess, BOOL inheritHandle, DWORD options) override;
  NTSTATUS NtOpenSymbolicLinkObject(ProcAddress routine, HANDLE* link, DWORD desiredAccess,
                                    ObjectAttributes* attributes) override;
  NTSTATUS NtQuerySymbolicLinkObject(ProcAddress routine, HANDLE link, UnicodeString* target,
                                     std::uint32_t* returnedLength) override;
  NTSTATUS NtClose(ProcAddress routine, HANDLE object) override;

 private:
  Errors& errors_;
};

class PosixVersion final : public Version {
 public:
  BOOL GetVersionExW(OsVersionInfo* info) override;
};

class PosixServices final : public Services {
 public:
  explicit PosixServices(Errors& errors) : errors_(errors) {}
  SC_HANDLE OpenSCManagerW(const char16_t* machineName, const char16_t* databaseName,
                           DWORD desiredAccess) override;
  SC_HANDLE CreateServiceW(SC_HANDLE manager, const char16_t* serviceName,
                           const char16_t* displayName, DWORD desiredAccess,
                           DWORD serviceType, DWORD startType, DWORD errorControl,
                           const char16_t* binaryPathName, const char16_t* loadOrderGroup,
                           DWORD* tagId, const char16_t* dependencies,
                           const char16_t* serviceStartName,
                           const char16_t* password) override;
  SC_HANDLE OpenServiceW(SC_HANDLE manager, const char16_t* serviceName,
                         DWORD desiredAccess) override;
  BOOL StartServiceW(SC_HANDLE service, DWORD argumentCount,
                     const char16_t** arguments) override;
  BOOL ControlService(SC_HANDLE service, DWORD control, ServiceStatus* status) override;
  BOOL DeleteService(SC_HANDLE service) override;
  BOOL CloseServiceHandle(SC_HANDLE object) override;

 private:
  Errors& errors_;
};

class PosixProcess final : public Process {
 public:
  explicit PosixProcess(Errors& errors) : errors_(errors) {}
  ProcessHandle GetCurrentProcess() override;
  BOOL IsWow64Process(ProcAddress routine, ProcessHandle process, BOOL* wow64) override;
  BOOL Wow64DisableWow64FsRedirection(ProcAddress routine, void** oldValue) override;
  BOOL Wow64RevertWow64FsRedirection(ProcAddress routine, void* oldValue) override;
  BOOL CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                      void* processAttributes, void* threadAttributes, BOOL inheritHandles,
                      DWORD creationFlags, void* environment,
                      const char16_t* currentDirectory, StartupInfo* startupInfo,
                      ProcessInformation* processInformation) override;
  DWORD WaitForSingleObject(ProcessHandle object, DWORD milliseconds) override;
  BOOL GetExitCodeProcess(ProcessHandle process, DWORD* exitCode) override;
  void Sleep(DWORD milliseconds) override;
  DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD size) override;
  // The console tool splits its own arguments: an empty line.
  const char16_t* GetCommandLineW() override { return u""; }
  BOOL CloseHandle(ProcessHandle object) override;
  BOOL CloseHandle(HANDLE object) override;

 private:
  Errors& errors_;
};

class PosixInput final : public Input {
 public:
  explicit PosixInput(Errors& errors) : errors_(errors) {}
  BOOL BlockInput(BOOL block) override;

 private:
  Errors& errors_;
};

class PosixPower final : public Power {
 public:
  explicit PosixPower(Errors& errors) : errors_(errors) {}
  BOOL GetSystemPowerStatus(SystemPowerStatus* status) override;
  BOOL OpenProcessToken(ProcessHandle process, DWORD desiredAccess,
                        TokenHandle* token) override;
  BOOL LookupPrivilegeValueW(const char16_t* systemName, const char16_t* name,
                             Luid* luid) override;
  BOOL AdjustTokenPrivileges(TokenHandle token, BOOL disableAll, TokenPrivileges* newState,
                             DWORD bufferLength, TokenPrivileges* previousState,
                             DWORD* returnLength) override;
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
  BOOL CloseHandle(TokenHandle object) override;

 private:
  Errors& errors_;
};

class PosixMessages final : public Messages {
 public:
  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                  UINT type) override;
};

class PosixRegistry final : public Registry {
 public:
  LSTATUS RegOpenKeyExW(HKEY key, const char16_t* subKey, DWORD options, DWORD desiredAccess,
                        HKEY* result) override;
  LSTATUS RegCreateKeyExW(HKEY key, const char16_t* subKey, DWORD reserved,
                          char16_t* className, DWORD options, DWORD desiredAccess,
                          void* securityAttributes, HKEY* result,
                          DWORD* disposition) override;
  LSTATUS RegQueryValueExW(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                           std::uint8_t* data, DWORD* dataSize) override;
  LSTATUS RegSetValueExW(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                         const std::uint8_t* data, DWORD dataSize) override;
  LSTATUS RegDeleteValueW(HKEY key, const char16_t* valueName) override;
  LSTATUS RegDeleteTreeW(HKEY key, const char16_t* subKey) override;
  LSTATUS RegCloseKey(HKEY key) override;
};

class PosixSetup final : public Setup {
 public:
  explicit PosixSetup(Errors& errors) : errors_(errors) {}
  HDEVINFO SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                void* parent, DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data, DWORD property,
                                         DWORD* regType, std::uint8_t* buffer,
                                         DWORD bufferSize, DWORD* requiredSize) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;

 private:
  Errors& errors_;
};

class PosixCommonControls final : public CommonControls {
 public:
  explicit PosixCommonControls(Errors& errors) : errors_(errors) {}
  BOOL InitCommonControlsEx(const InitCommonControlsExInfo* info) override;

 private:
  Errors& errors_;
};

class PosixSockets final : public Sockets {
 public:
  int WSAStartup(WORD versionRequested, WsaData* data) override;
  int WSACleanup() override;
};

class PosixOle final : public Ole {
 public:
  HRESULT OleInitialize(void* reserved) override;
  void OleUninitialize() override;
};

class PosixSystem {
 public:
  PosixSystem()
      : files(errors),
        text(errors),
        resources(errors),
        modules(errors),
        devices(errors),
        services(errors),
        process(errors),
        input(errors),
        power(errors),
        setup(errors),
        commonControls(errors),
        system_{errors,   files,    debug,    text,           resources, modules,
                devices,  version,  services, process,        input,     power,
                messages, registry, setup,    commonControls, sockets,   ole} {}
  PosixSystem(const PosixSystem&) = delete;
  PosixSystem& operator=(const PosixSystem&) = delete;

  System& system() { return system_; }

  PosixErrors errors;
  PosixFiles files;
  PosixDebug debug;
  PosixText text;
  PosixResources resources;
  PosixModules modules;
  PosixDevices devices;
  PosixVersion version;
  PosixServices services;
  PosixProcess process;
  PosixInput input;
  PosixPower power;
  PosixMessages messages;
  PosixRegistry registry;
  PosixSetup setup;
  PosixCommonControls commonControls;
  PosixSockets sockets;
  PosixOle ole;

 private:
  System system_;
};

}  // namespace os::posix
