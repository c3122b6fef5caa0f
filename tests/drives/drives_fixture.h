// Enumeration over a simulated machine described in JSON, with the log
// and the string table of the fake system.
#pragma once

#include <gtest/gtest.h>

#include <fstream>

#include "base/log.h"
#include "base/settings.h"
#include "base/string_table.h"
#include "drives/enumerate.h"
#include "tests/sim/sim_fixture.h"
#include "tests/support/utf16.h"

namespace drives::test_support {

inline sim::MachineDescription Machine(const std::string& json) {
  std::string error;
  auto machine = sim::ParseMachine(json, error);
  EXPECT_TRUE(machine) << error;
  return machine ? *machine : sim::MachineDescription{};
}

class DrivesTest : public ::testing::Test {
 public:
  // A fresh machine: the previous one, its log and its system go first.
  void Load(const std::string& json) {
    base::CloseLog();
    sim_.reset();
    sim_ = std::make_unique<sim::test_support::SimSystem>(Machine(json));
    auto& fake = sim_->fake();
    fake.resources.SetStrings(&base::StringTable());
    fake.files.AddFolder(u"C:\\app");
    fake.files.SetModulePath(u"C:\\app\\VLXFMWizardApp.exe");
    base::Settings().moduleFolder = u"C:\\app";
    base::OpenLog(nullptr);
    // Tests run side by side: each its own trace file.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    tracePath_ = ::testing::TempDir() + "trace_" + test->test_suite_name() + "_" +
                 test->name() + ".txt";
    sim_->machine().TraceTo(tracePath_);
  }
  ~DrivesTest() override { base::CloseLog(); }

  DriveList Enumerate() { return EnumerateDrives(); }

  std::u16string Log() {
    const auto bytes = sim_->fake().files.Contents(u"C:\\app\\VLXFMUpdate.log");
    return testing_support::Utf16Of(bytes);
  }
  bool LogHas(const std::u16string& text) { return Log().find(text) != std::u16string::npos; }

  std::vector<std::string> Trace() {
    std::ifstream in(tracePath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  sim::SimMachine& machine() { return sim_->machine(); }

  std::unique_ptr<sim::test_support::SimSystem> sim_;
  std::string tracePath_;
};

inline std::vector<std::u16string> Paths(const DriveList& list) {
  std::vector<std::u16string> paths;
  for (const auto& d : list) paths.push_back(d->DrivePath);
  return paths;
}

}  // namespace drives::test_support
