// Update runs over simulated machines: a recorder of what the progress
// page is sent, a fixed selection, and a fixture that loads a machine with
// the package's files beside the program and runs the update thread.
#pragma once

#include <functional>
#include <mutex>
#include <thread>

#include "sim/firmware_image.h"
#include "tests/drives/drives_fixture.h"
#include "update/update_run.h"

namespace update::test_support {

using drives::test_support::DrivesTest;

// The first text of every run.
constexpr char16_t kBanner[] =
    u"\r\n** SYSTEM MAY APPEAR UNRESPONSIVE **\r\n** PLEASE DO NOT UNPLUG OR POWER OFF THE SYSTEM **";

class Recorder final : public StatusSink {
 public:
  explicit Recorder(std::function<void()> onEach = {}) : onEach_(std::move(onEach)) {}
  void SendStatus(const DriveUpdateStatus& status) override {
    std::lock_guard lock(mutex_);
    statuses.push_back(status);
    if (onEach_) onEach_();
  }
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> texts;
    for (const auto& s : statuses) {
      if (s.kind == update::StatusText || s.kind == update::ErrorText || s.kind == update::DoneText) {
        texts.push_back(s.text.substr(0, s.text.size() - 4));
      }
    }
    return texts;
  }
  std::vector<update::DriveUpdateStatus> statuses;

 private:
  std::function<void()> onEach_;
  std::mutex mutex_;
};

class Chosen final : public SelectionSource {
 public:
  explicit Chosen(const drives::DriveList& drives) {
    for (const auto& d : drives) selection_[d->SerialNumberText()] = d;
  }
  Selection selection() const override { return selection_; }

 private:
  Selection selection_;
};

class UpdateRun : public DrivesTest {
 protected:
  // The package's image beside the program, and the firmware driver's
  // binary unless `withDriver` is false.
  void LoadWithPackage(const std::string& json, bool withDriver = true) {
    Load(json);
    auto& files = sim_->fake().files;
    files.PutFile(u"C:\\app\\vx7221.bin", sim::BuildDemoImage());
    if (withDriver) files.PutFile(u"C:\\app\\VLXFMDriver32.sys", {'d', 'r', 'v'});
  }
  void Run(const drives::DriveList& drives, Recorder& recorder) {
    Chosen chosen(drives);
    update::SetSelectionSource(&chosen);
    update::SetStatusSink(&recorder);
    std::thread worker([] { update::CDrivesUpdateThread().InitInstance(); });
    worker.join();
    SetStatusSink(nullptr);
    SetSelectionSource(nullptr);
  }
  static std::u16string Announce(const char16_t* model, const char16_t* serial, int i, int n) {
    return u"Updating drive " + std::u16string(model) + u" (" + serial + u"), " +
           std::u16string(1, static_cast<char16_t>(u'0' + i)) + u" of " +
           std::u16string(1, static_cast<char16_t>(u'0' + n)) +
           u", Please wait. It can take several minutes.";
  }
};

}  // namespace update::test_support
