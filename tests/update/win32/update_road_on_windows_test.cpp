// The whole driver road over the simulated machine with everything else
// real (files, threads, sleeps, the string table): afterwards the process
// holds no more handles, and runs no more threads, than before.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/settings.h"
#include "drives/enumerate.h"
#include "os/win32/win32_system.h"
#include "sim/firmware_image.h"
#include "sim/machine_description.h"
#include "sim/simulated_system.h"
#include "update/update_run.h"

namespace update {
namespace {

// The process's open handles, found by asking each handle value in turn
// (GetProcessHandleCount answers 0 under Wine). Kernel handles are
// multiples of 4; a test process holds far fewer than this range.
DWORD HandleCount() {
  DWORD count = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

int ThreadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

void PutFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  EXPECT_EQ(written, bytes.size());
  CloseHandle(file);
}

class Selected final : public SelectionSource {
 public:
  explicit Selected(const drives::DriveList& drives) {
    for (const auto& d : drives) {
      if (d->Updatable) selection_[d->SerialNumberText()] = d;
    }
  }
  Selection selection() const override { return selection_; }

 private:
  Selection selection_;
};

class Outcome final : public StatusSink {
 public:
  void SendStatus(const DriveUpdateStatus& status) override {
    if (status.kind == ErrorText || status.kind == DoneText) last = status.kind;
  }
  std::int32_t last = StatusText;
};

// Enumerates the simulated machine and updates its qualifying drives.
std::int32_t UpdateRoad() {
  Outcome outcome;
  {
    const drives::DriveList drives = drives::EnumerateDrives();
    Selected selected(drives);
    SetSelectionSource(&selected);
    SetStatusSink(&outcome);
    std::thread worker([] { CDrivesUpdateThread().InitInstance(); });
    worker.join();
    SetStatusSink(nullptr);
    SetSelectionSource(nullptr);
  }
  return outcome.last;
}

TEST(UpdateRoadOnWindows, LeavesNoHandleAndNoThreadBehind) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"vx_update_road_" +
                              std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  PutFile(folder + L"\\vx7221.bin", sim::BuildDemoImage());
  PutFile(folder + L"\\VLXFMDriver32.sys", {'d', 'r', 'v'});
  PutFile(folder + L"\\VLXFMDriver64.sys", {'d', 'r', 'v'});
  {
    os::win32::Win32System win32;
    sim::MachineDescription machine = sim::DefaultMachine();
    machine.driverSegmentDelayMs = 0;
    sim::SimulatedSystem simulated(win32.system(), std::move(machine));
    os::ScopedSystem guard(simulated.system());
    base::Settings().moduleFolder = std::u16string(folder.begin(), folder.end());

    // The first run loads what the process keeps for good (libraries, the
    // thread pool); the second must give back all it takes.
    ASSERT_EQ(UpdateRoad(), DoneText);
    const DWORD handles = HandleCount();
    const int threads = ThreadCount();
    EXPECT_EQ(UpdateRoad(), DoneText);
    EXPECT_LE(HandleCount(), handles);
    EXPECT_LE(ThreadCount(), threads);
    EXPECT_GT(handles, 0u);
    EXPECT_GT(threads, 0);
  }
  for (const wchar_t* name : {L"\\vx7221.bin", L"\\VLXFMDriver32.sys", L"\\VLXFMDriver64.sys"}) {
    DeleteFileW((folder + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace update
