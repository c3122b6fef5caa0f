#include "app/relocation.h"

#include "base/log.h"
#include "app/message_box.h"
#include "base/string_table.h"
#include "os/constants.h"
#include "os/scoped_handle.h"
#include "os/system.h"

namespace app {
namespace {

constexpr char16_t kInterpreter[] = u"cmd.exe /C ";
constexpr char16_t kFolder[] = u"\\VLXFMUpdate\\";
constexpr char16_t kVersion[] = u"2.1.0.0";
constexpr char16_t kExecutable[] = u"VLXFMWizardApp.exe";
constexpr os::UINT kAppInitFailed = 106;

std::u16string Environment(const char16_t* name) {
  auto& process = os::Sys().process;
  const os::DWORD needed = process.GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::u16string value(needed, u'\0');
  const os::DWORD length = process.GetEnvironmentVariableW(name, value.data(), needed);
  if (length == 0 || length >= needed) return {};
  value.resize(length);
  return value;
}

void Log(const char16_t* line) {
  if (base::IsLogOpen()) base::WriteLogText(line);
}

void FailureExit() {
  Log(u"PrepareAndLaunchWizard failed!!!");
  ShowStringMessage(kAppInitFailed, os::kMbOk);
}

}  // namespace

bool RunProcess(const std::u16string& commandLine,
                const std::optional<std::u16string>& workingFolder, bool hidden, bool wait,
                os::DWORD& exitCode) {
  auto& process = os::Sys().process;
  os::StartupInfo startup{};
  startup.cb = os::kStartupInfoSize;
  startup.dwFlags = os::kStartfUseShowWindow;
  startup.wShowWindow = hidden ? os::kSwHide : os::kSwShowNormal;
  exitCode = 0xFFFFFFFFu;
  std::u16string writable = commandLine;
  os::ProcessInformation created{};
  if (!process.CreateProcessW(nullptr, writable.data(), nullptr, nullptr, os::kFalse, 0,
                              nullptr, workingFolder ? workingFolder->c_str() : nullptr,
                              &startup, &created)) {
    return false;
  }
  const os::UniqueThreadHandle thread(created.hThread);
  const os::UniqueProcessHandle started(created.hProcess);
  if (!wait) return true;
  process.WaitForSingleObject(started.Get(), os::kInfinite);
  return process.GetExitCodeProcess(started.Get(), &exitCode) != os::kFalse;
}

bool RunCommand(const std::u16string& command, os::DWORD& exitCode) {
  return RunProcess(kInterpreter + command, std::nullopt, true, true, exitCode);
}

void PrepareAndLaunchWizard() {
  std::u16string temp = Environment(u"Temp");
  if (temp.empty()) temp = Environment(u"Tmp");
  if (temp.empty()) {
    Log(u"Unable to get temp folder path!!!");
    FailureExit();
    return;
  }
  const std::u16string target = temp + kFolder + kVersion;
  const std::u16string quoted = u"\"" + target + u"\\\"";
  os::DWORD exitCode = 0;
  // An old copy goes first; a missing one fails inside the interpreter,
  // which does not matter.
  bool made = RunCommand(u"rmdir /S /Q " + quoted, exitCode);
  if (!made) {
    Log(u"rmdir /S /Q failed!!!");
  } else {
    made = RunCommand(u"mkdir " + quoted, exitCode);
  }
  if (!made) {
    Log(u"mkdir failed!!!");
    FailureExit();
    return;
  }
  if (!RunCommand(u"copy /Y /V *.* " + quoted, exitCode)) {
    FailureExit();
    return;
  }
  if (exitCode != 0) {
    Log(u"copy /Y /V *.* failed!!!");
    FailureExit();
    return;
  }
  RunCommand(u"del \"" + target + u"\\*.log\" /Q", exitCode);
  if (!RunCommand(u"del \"" + target + u"\\*.vbs\" /Q", exitCode)) {
    FailureExit();
    return;
  }
  if (exitCode != 0) {
    Log(u"del *.vbs failed!!!");
    FailureExit();
    return;
  }
  os::DWORD ignored = 0;
  if (!RunProcess(u"\"" + target + u"\\" + kExecutable + u"\"", target + u"\\", false, false,
                  ignored)) {
    Log(u"RunApplication failed!!!");
    FailureExit();
  }
}

}  // namespace app
