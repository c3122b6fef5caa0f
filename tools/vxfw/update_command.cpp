// vxfw update [--machine FILE|default] [--select SERIAL ...] [--json]: the
// driver road over a simulated machine, printing each status as the
// progress page would show it, then the firmware revision each updated
// drive reported afterwards.
#include <nlohmann/json.hpp>

#include <mutex>
#include <thread>

#include "base/log.h"
#include "base/settings.h"
#include "base/text.h"
#include "drives/enumerate.h"
#include "tools/vxfw/machine_option.h"
#include "tools/vxfw/utf8.h"
#include "tools/vxfw/vxfw.h"
#include "update/update_run.h"

namespace vxfw {
namespace {

class FixedSelection final : public update::SelectionSource {
 public:
  explicit FixedSelection(update::Selection selection) : selection_(std::move(selection)) {}
  update::Selection selection() const override { return selection_; }

 private:
  update::Selection selection_;
};

// Prints every status as it arrives; the sender waits until it is printed.
class PrintingSink final : public update::StatusSink {
 public:
  PrintingSink(bool json, Output& output) : json_(json), output_(output) {}

  void SendStatus(const update::DriveUpdateStatus& status) override {
    std::lock_guard lock(mutex_);
    if (status.kind == update::ErrorText || status.kind == update::DoneText) finalKind_ = status.kind;
    if (json_) {
      nlohmann::ordered_json j;
      j["kind"] = status.kind;
      j["text"] = ToUtf8(status.text);
      if (status.kind == update::ProgressRange) j["rangeMax"] = status.rangeMax;
      if (status.kind == update::ProgressPosition) j["percent"] = status.percent;
      output_.out += j.dump() + "\n";
      return;
    }
    switch (status.kind) {
      case update::ProgressRange:
        output_.out += status.rangeMax != 0 ? "[progress shown] 0% Done\n" : "[progress hidden]\n";
        break;
      case update::ProgressPosition:
        if (status.percent != lastPercent_) {
          output_.out += std::to_string(status.percent) + "% Done\n";
          lastPercent_ = status.percent;
        }
        break;
      case update::ErrorText:
        output_.out += "ERROR => " + ToUtf8(status.text);
        break;
      default:
        output_.out += ToUtf8(status.text);
        break;
    }
  }
  // The last kind 3 or 4: how the run ended.
  std::int32_t finalKind() const {
    std::lock_guard lock(mutex_);
    return finalKind_;
  }

 private:
  bool json_;
  Output& output_;
  mutable std::mutex mutex_;
  std::int32_t finalKind_ = update::ErrorText;
  std::int32_t lastPercent_ = -1;
};

// What each updated drive reported afterwards, after the statuses.
void PrintRevisionsReadBack(const update::Selection& chosen, bool json, Output& output) {
  nlohmann::ordered_json readBack = nlohmann::ordered_json::array();
  for (const auto& [serial, drive] : chosen) {
    if (drive->FirmwareRevisionAfterUpdate.empty()) continue;
    const std::string trimmed = ToUtf8(base::TrimWhiteSpace(serial));
    const std::string firmware = ToUtf8(drive->FirmwareRevisionAfterUpdate);
    readBack.push_back({{"serial", trimmed}, {"firmware", firmware}});
    if (!json) {
      output.out += "Drive " + trimmed + " firmware revision read back: " + firmware + "\n";
    }
  }
  if (json) output.out += nlohmann::ordered_json{{"readBack", readBack}}.dump() + "\n";
}

}  // namespace

int RunUpdate(const std::vector<std::u16string>& args, Output& output) {
  bool json = false;
  std::optional<std::u16string> machineName;
  std::vector<std::u16string> serials;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == u"--json") {
      json = true;
    } else if (args[i] == u"--machine" && hasValue) {
      machineName = args[++i];
    } else if (args[i] == u"--select" && hasValue) {
      serials.push_back(args[++i]);
    } else {
      output.err += "usage: vxfw update --machine FILE|default [--select SERIAL ...] [--json]\n";
      return 2;
    }
  }
  // Real drives are never updated from the console.
  if (!machineName) {
    output.err += "vxfw update: updates run over a simulated machine only (--machine)\n";
    return 2;
  }
  std::string error;
  auto machine = LoadMachine(*machineName, error);
  if (!machine) {
    output.err += "vxfw update: " + error + "\n";
    return 2;
  }
  InstalledMachine simulated(std::move(*machine));
  base::InitModuleFolder();
  base::OpenLog(nullptr);

  update::Selection selection;
  for (const drives::CDrivePtr& drive : drives::EnumerateDrives()) {
    const std::u16string serial = base::TrimWhiteSpace(drive->SerialNumberText());
    const bool named = std::find(serials.begin(), serials.end(), serial) != serials.end();
    if (serials.empty() ? drive->Updatable : named) {
      selection[drive->SerialNumberText()] = drive;
    }
  }
  FixedSelection source(std::move(selection));
  PrintingSink sink(json, output);
  update::SetSelectionSource(&source);
  update::SetStatusSink(&sink);
  std::thread worker([] { update::CDrivesUpdateThread().InitInstance(); });
  worker.join();
  update::SetStatusSink(nullptr);
  update::SetSelectionSource(nullptr);
  PrintRevisionsReadBack(source.selection(), json, output);
  return sink.finalKind() == update::DoneText ? 0 : 1;
}

}  // namespace vxfw
