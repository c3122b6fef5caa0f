// The seam bound to the real Windows API. Each area forwards to the call of
// the same name, one source file per area; the only conversions are
// char16_t* to wchar_t*, our handle kinds to Win32's (os/win32/native.h)
// and the widths of the integer types.
#pragma once

#include "os/system.h"

namespace os::win32 {

class Win32Errors final : public Errors {
 public:
  DWORD GetLastError() override;
  void SetLastError(DWORD code) override;
};

class Win32Files final : public Files {
 public:

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
};

class Win32Debug final : public Debug {
 public:
  void OutputDebugStringW(const char16_t* text) override;
};

class Win32Text final : public Text {
 public:
  int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte,
                          int multiByteCount, char16_t* wide, int wideCount) override;
  int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide, int wideCount,
                          char* multiByte, int multiByteCount, const char* defaultChar,
                          BOOL* usedDefaultChar) override;
};

class Win32Resources final : public Resources {
 public:
  int LoadStringW(HMODULE module, UINT id, char16_t* buffer, int bufferMax) override;
};

class Win32Modules final : public Modules {
 public:
  HMODULE GetModuleHandleW(const char16_t* moduleName) override;
  ProcAddress GetProcAddress(HMODULE module, const char* name) override;
  HMODULE LoadLibraryW(const char16_t* fileName) override;
  BOOL FreeLibrary(HMODULE module) override;
};

class Win32Devices final : public Devices {
 public:
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
};

class Win32Version final : public Version {
 public:
  BOOL GetVersionExW(OsVersionInfo* info) override;
};

class Win32Services final : public Services {
 public:
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
};

class Win32Process final : public Process {
 public:
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
  const char16_t* GetCommandLineW() override;
  BOOL CloseHandle(ProcessHandle object) override;
  BOOL CloseHandle(HANDLE object) override;
};

class Win32Input final : public Input {
 public:
  BOOL BlockInput(BOOL block) override;
};

class Win32Power final : public Power {
 public:
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
};

class Win32Messages final : public Messages {
 public:
  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                  UINT type) override;
};

class Win32Registry final : public Registry {
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

class Win32Setup final : public Setup {
 public:
  HDEVINFO SetupDiGetClassDevsW(const Guid* classGuid, const char16_t* enumerator,
                                void* parent, DWORD flags) override;
  BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, DevInfoData* data) override;
  BOOL SetupDiGetDeviceRegistryPropertyW(HDEVINFO set, DevInfoData* data, DWORD property,
                                         DWORD* regType, std::uint8_t* buffer,
                                         DWORD bufferSize, DWORD* requiredSize) override;
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) override;
};

class Win32CommonControls final : public CommonControls {
 public:
  BOOL InitCommonControlsEx(const InitCommonControlsExInfo* info) override;
};

class Win32Sockets final : public Sockets {
 public:
  int WSAStartup(WORD versionRequested, WsaData* data) override;
  int WSACleanup() override;
};

class Win32Ole final : public Ole {
 public:
  HRESULT OleInitialize(void* reserved) override;
  void OleUninitialize() override;
};

// Every area bound to Windows.
class Win32System {
 public:
  Win32System()
      : system_{errors,   files,    debug,    text,           resources, modules,
                devices,  version,  services, process,        input,     power,
                messages, registry, setup,    commonControls, sockets,   ole} {}
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  System& system() { return system_; }

  Win32Errors errors;
  Win32Files files;
  Win32Debug debug;
  Win32Text text;
  Win32Resources resources;
  Win32Modules modules;
  Win32Devices devices;
  Win32Version version;
  Win32Services services;
  Win32Process process;
  Win32Input input;
  Win32Power power;
  Win32Messages messages;
  Win32Registry registry;
  Win32Setup setup;
  Win32CommonControls commonControls;
  Win32Sockets sockets;
  Win32Ole ole;

 private:
  System system_;
};

}  // namespace os::win32
