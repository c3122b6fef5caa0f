// The enumeration of 1, 4 and 16 simulated drives whose every command takes
// 1 ms: wall time against the time the drives themselves spent answering,
// and the commands each drive was sent against the sequence a level-4 SATA
// drive needs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "base/settings.h"
#include "base/string_table.h"
#include "drives/enumerate.h"
#include "tests/bench/figures.h"
#include "tests/sim/sim_fixture.h"

namespace bench {
namespace {

// A level-4 SATA drive: the storage query, IDENTIFY proving the transport,
// IDENTIFY for the record, then vendor mode on, the data-table key sector,
// its data, vendor mode off.
constexpr double kCommandsPerDrive = 7;

sim::MachineDescription Drives(int count) {
  sim::MachineDescription machine;
  for (int n = 0; n < count; ++n) {
    sim::SimDriveEntry entry;
    entry.number = n;
    entry.busType = 11;
    entry.drive.latencyMs = 1;
    entry.drive.serial = "VX" + std::to_string(10000000 + n);
    machine.drives.push_back(entry);
  }
  return machine;
}

void Enumeration(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  sim::test_support::SimSystem sim(Drives(count));
  sim.fake().resources.SetStrings(&base::StringTable());
  base::Settings().moduleFolder = u"C:\\app";
  using Clock = std::chrono::steady_clock;
  Clock::duration wall{0};
  for (auto _ : state) {
    const auto start = Clock::now();
    const drives::DriveList list = drives::EnumerateDrives();
    wall += Clock::now() - start;
    if (static_cast<int>(list.size()) != count) state.SkipWithError("a drive was not listed");
  }
  std::chrono::nanoseconds busy{0};
  double commands = 0;
  for (int n = 0; n < count; ++n) {
    busy += sim.machine().Drive(n)->BusyTime();
    commands += static_cast<double>(sim.machine().Drive(n)->Commands());
  }
  const double runs = static_cast<double>(state.iterations());
  const double wallMs = std::chrono::duration<double, std::milli>(wall).count() / runs;
  const double busyMs = std::chrono::duration<double, std::milli>(busy).count() / runs;
  const double perDrive = commands / runs / count;
  state.counters["wall_ms"] = wallMs;
  state.counters["drive_ms"] = busyMs;
  state.counters["commands_per_drive"] = perDrive;
  const std::string drives = std::to_string(count) + (count == 1 ? " drive" : " drives");
  Record({"enumeration, " + drives + " (vs drives' own time)", wallMs, busyMs,
          count == 16 ? 1.05 : 0, "ms"});
  if (count == 16) {
    if (perDrive != kCommandsPerDrive) state.SkipWithError("not the required command sequence");
    Record({"enumeration, commands per drive (vs required)", perDrive, kCommandsPerDrive, 1.0,
            ""});
  }
}

}  // namespace

void RegisterEnumerationBenchmarks(bool smoke) {
  auto* b = benchmark::RegisterBenchmark("enumeration", Enumeration)
                ->Arg(1)
                ->Arg(4)
                ->Arg(16)
                ->Unit(benchmark::kMillisecond);
  b->Iterations(smoke ? 1 : 5);
}

}  // namespace bench
