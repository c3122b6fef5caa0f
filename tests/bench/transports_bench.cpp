// One ATA command through each transport, from ExecuteCommand to the
// judged registers, against the bare DeviceIoControl calls it is made of
// (one for the ATA pass-through; the command block and the register
// request for SAT), on a fake drive that answers at once. Both are timed
// in the same loop, so a busy machine slows both alike.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "ata/ata_pass_through_drive.h"
#include "ata/command_blocks.h"
#include "ata/sat_pass_through_drive.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "os/ioctl.h"
#include "tests/bench/figures.h"

namespace bench {
namespace {

namespace apt = os::ata_pass_through;
namespace spt = os::scsi_pass_through;

constexpr char16_t kDrive[] = u"\\\\.\\PhysicalDrive0";
constexpr std::uint8_t kCheckPowerMode = 0xE5;
constexpr std::uint8_t kReturnResponseInfo = 15;

// Echoes the request with a clean status; a SAT register request gets a
// descriptor that reports the same.
class InstantDrive final : public os::fake::DeviceModel {
 public:
  os::BOOL Control(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                   os::DWORD outSize, os::DWORD& returned, os::DWORD&) override {
    auto* block = static_cast<std::uint8_t*>(out);
    if (in != out) std::memcpy(block, in, std::min(inSize, outSize));
    returned = outSize;
    if (code == os::kIoctlAtaPassThrough) {
      block[apt::kCurrentTaskFile] = 0;
      block[apt::kCurrentTaskFile + 6] = 0x50;
    } else if (((block[spt::kCdb + 1] >> 1) & 0x0F) == kReturnResponseInfo) {
      std::uint8_t* d = block + spt::kSize;
      std::memset(d, 0, outSize - spt::kSize);
      d[0] = 0x09;
      d[1] = 0x0C;
      d[13] = 0x50;
      block[spt::kScsiStatus] = 0;
    } else {
      block[spt::kScsiStatus] = 0;
    }
    return os::kTrue;
  }
};

struct Request {
  os::DWORD code;
  std::vector<std::uint8_t> block;
};

// What the transport sends for one command, captured once.
class Recorder final : public os::fake::DeviceModel {
 public:
  os::BOOL Control(os::DWORD code, const void* in, os::DWORD inSize, void* out,
                   os::DWORD outSize, os::DWORD& returned, os::DWORD& error) override {
    requests.push_back({code, std::vector<std::uint8_t>(static_cast<const std::uint8_t*>(in),
                                                         static_cast<const std::uint8_t*>(in) +
                                                             std::max(inSize, outSize))});
    return drive.Control(code, in, inSize, out, outSize, returned, error);
  }
  InstantDrive drive;
  std::vector<Request> requests;
};

template <class Transport>
void CommandAgainstBareCalls(benchmark::State& state, const char* name) {
  os::fake::ScopedFakeSystem fake;
  auto recorder = std::make_shared<Recorder>();
  fake.devices.Add(kDrive, recorder);
  const auto open = [&] {
    return fake.devices.CreateFileW(kDrive, os::kGenericRead | os::kGenericWrite, 3, nullptr,
                                    os::kOpenExisting, 0, nullptr);
  };
  Transport drive(open());
  const auto send = [&drive] {
    tessel::Taskfile t = tessel::Command(kCheckPowerMode);
    drive.ExecuteCommand(tessel::AtaProtocol::NonData, t, nullptr, 0);
    return tessel::IsCommandFailure(drive.GetTaskfile());
  };
  send();
  const std::vector<Request> bare = recorder->requests;
  const os::DeviceHandle handle = open();
  std::vector<std::uint8_t> block;
  using Clock = std::chrono::steady_clock;
  Clock::duration commands{0};
  Clock::duration calls{0};
  constexpr int kBatch = 200;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(send());
    const auto middle = Clock::now();
    for (int i = 0; i < kBatch; ++i) {
      for (const Request& r : bare) {
        block = r.block;
        os::DWORD returned = 0;
        benchmark::DoNotOptimize(os::Sys().devices.DeviceIoControl(
            handle, r.code, block.data(), static_cast<os::DWORD>(block.size()), block.data(),
            static_cast<os::DWORD>(block.size()), &returned, nullptr));
      }
    }
    commands += middle - start;
    calls += Clock::now() - middle;
  }
  fake.devices.CloseHandle(handle);
  const double perCommand = std::chrono::duration<double, std::micro>(commands).count() /
                            (static_cast<double>(state.iterations()) * kBatch);
  const double perCalls = std::chrono::duration<double, std::micro>(calls).count() /
                          (static_cast<double>(state.iterations()) * kBatch);
  state.counters["command_us"] = perCommand;
  state.counters["bare_calls_us"] = perCalls;
  Record({name, perCommand, perCalls, 1.5, "us"});
}

}  // namespace

void RegisterTransportBenchmarks(bool smoke) {
  auto* ata = benchmark::RegisterBenchmark("command/ata_pass_through", [](benchmark::State& s) {
    CommandAgainstBareCalls<tessel::AtaDriveWinPassThrough>(
        s, "ATA command, ATA pass-through (vs bare call)");
  });
  auto* sat = benchmark::RegisterBenchmark("command/sat_pass_through", [](benchmark::State& s) {
    CommandAgainstBareCalls<tessel::SatDrivePassThrough>(
        s, "ATA command, SAT + register request (vs 2 bare)");
  });
  if (smoke) {
    ata->Iterations(1);
    sat->Iterations(1);
  }
}

}  // namespace bench
