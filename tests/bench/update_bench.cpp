// The driver road over the simulated firmware driver, whose segments each
// take a pause: wall time against the driver's transfer time plus the fixed
// waits around each transfer (100 ms before, 500 ms after), and the largest
// block the run holds against the image and its record header. Images of
// 64 KiB, 1 MiB and 16 MiB show how it grows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "base/settings.h"
#include "base/string_table.h"
#include "drives/enumerate.h"
#include "sim/firmware_image.h"
#include "tests/bench/figures.h"
#include "tests/bench/largest_allocation.h"
#include "tests/sim/sim_fixture.h"
#include "update/firmware_update_record.h"
#include "update/update_run.h"

namespace bench {
namespace {

constexpr double kFixedWaitsMs = 100 + 500;

class Selected final : public update::SelectionSource {
 public:
  explicit Selected(const drives::CDrivePtr& drive) { selection_[drive->SerialNumberText()] = drive; }
  update::Selection selection() const override { return selection_; }

 private:
  update::Selection selection_;
};

class Quiet final : public update::StatusSink {
 public:
  void SendStatus(const update::DriveUpdateStatus& status) override {
    if (status.kind == update::DoneText) done = true;
  }
  bool done = false;
};

// A valid image for the default drive, of about `bytes` bytes.
std::vector<std::uint8_t> ImageOf(std::size_t bytes) {
  if (bytes == 0) return sim::BuildDemoImage();
  sim::FirmwareImageHeader header;
  header.familyId = 666;
  header.configId = 2445;
  header.revisionBase = "02.01P02";
  header.revisionSuffix = ".30.3C.31P";
  header.firmwareRevision = "02.01P03";
  header.payloadLength = static_cast<std::uint32_t>(bytes - sim::kImageHeaderSize);
  return sim::BuildFirmwareImage(header, std::vector<std::uint8_t>(header.payloadLength, 0x5A));
}

// range(0): the image size in KiB; 0 is the package's own image, whose
// check before the driver is part of the run.
void DriverRoad(benchmark::State& state) {
  const std::size_t kib = static_cast<std::size_t>(state.range(0));
  sim::MachineDescription machine;
  machine.driverSegmentDelayMs = 5;
  sim::SimDriveEntry entry;
  entry.number = 0;
  entry.busType = 11;
  machine.drives.push_back(entry);
  sim::test_support::SimSystem sim(machine);
  auto& fake = sim.fake();
  fake.resources.SetStrings(&base::StringTable());
  fake.files.AddFolder(u"C:\\app");
  fake.files.SetModulePath(u"C:\\app\\VLXFMWizardApp.exe");
  base::Settings().moduleFolder = u"C:\\app";
  const std::vector<std::uint8_t> image = ImageOf(kib * 1024);
  const std::u16string file = kib == 0 ? u"C:\\app\\vx7221.bin" : u"C:\\app\\bench.bin";
  fake.files.PutFile(file, image);
  fake.files.PutFile(u"C:\\app\\VLXFMDriver32.sys", {'d', 'r', 'v'});
  const drives::DriveList drives = drives::EnumerateDrives();
  if (drives.size() != 1) {
    state.SkipWithError("the drive was not listed");
    return;
  }
  drives[0]->AvailableFirmwareFilePath = file;
  Selected selected(drives[0]);
  Quiet quiet;
  update::SetSelectionSource(&selected);
  update::SetStatusSink(&quiet);
  using Clock = std::chrono::steady_clock;
  Clock::duration wall{0};
  const auto driverBefore = sim.machine().DriverBusyTime();
  ResetLargestAllocation();
  for (auto _ : state) {
    quiet.done = false;
    const auto start = Clock::now();
    std::thread worker([] { update::CDrivesUpdateThread().InitInstance(); });
    worker.join();
    wall += Clock::now() - start;
    if (!quiet.done) state.SkipWithError("the update did not finish");
  }
  const std::size_t largest = LargestAllocation();
  update::SetStatusSink(nullptr);
  update::SetSelectionSource(nullptr);
  const double runs = static_cast<double>(state.iterations());
  const double wallMs = std::chrono::duration<double, std::milli>(wall).count() / runs;
  const double transferMs = std::chrono::duration<double, std::milli>(
                                sim.machine().DriverBusyTime() - driverBefore).count() / runs;
  const double held = static_cast<double>(update::record::kHeaderSize + image.size());
  state.counters["wall_ms"] = wallMs;
  state.counters["transfer_ms"] = transferMs;
  state.counters["largest_block"] = static_cast<double>(largest);
  if (kib == 0) {
    Record({"driver road (vs transfer + fixed waits)", wallMs, transferMs + kFixedWaitsMs, 1.01,
            "ms"});
    Record({"driver road, largest block (vs image + header)", largest / 1024.0, held / 1024.0,
            1.0, "KiB"});
  } else {
    Record({"driver road, " + std::to_string(kib) + " KiB image", wallMs,
            transferMs + kFixedWaitsMs, 0, "ms"});
  }
}

}  // namespace

void RegisterUpdateBenchmarks(bool smoke) {
  benchmark::RegisterBenchmark("driver_road", DriverRoad)
      ->Arg(0)
      ->Arg(64)
      ->Arg(1024)
      ->Arg(16 * 1024)
      ->Iterations(smoke ? 1 : 3)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
