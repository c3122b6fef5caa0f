// vxfw list [--machine FILE|default] [--json] [--trace FILE]: the drives
// the enumeration lists, with their identity, vendor data and verdict.
#include <nlohmann/json.hpp>

#include "base/log.h"
#include "base/settings.h"
#include "base/text.h"
#include "drives/enumerate.h"
#include "sim/sim_machine.h"
#include "tools/vxfw/machine_option.h"
#include "tools/vxfw/utf8.h"
#include "tools/vxfw/vxfw.h"

namespace vxfw {
namespace {

std::string Text8(const std::string& drive) { return ToUtf8(base::Widen(drive)); }

nlohmann::ordered_json Describe(const drives::CDrive& d, const sim::SimMachine* machine) {
  nlohmann::ordered_json j;
  j["DrivePath"] = ToUtf8(d.DrivePath);
  j["DriveDevicePath"] = ToUtf8(d.DriveDevicePath);
  j["BusType"] = d.BusType;
  j["Model"] = ToUtf8(d.ModelText());
  j["SerialNumber"] = ToUtf8(d.SerialNumberText());
  j["CurrentFirmware"] = ToUtf8(d.CurrentFirmwareText());
  j["WWN"] = Hex64(d.WWN);
  j["DownloadMicrocodeSupported"] = d.DownloadMicrocodeSupported;
  j["SegmentedTransferSupported"] = d.SegmentedTransferSupported;
  j["TransferMin"] = d.TransferMin;
  j["TransferMax"] = d.TransferMax;
  j["IsVeltraxDrive"] = d.IsVeltraxDrive;
  j["ModelNumberTrimmed"] = Text8(d.ModelNumberTrimmed);
  j["ModelSuffixHead"] = Text8(d.ModelSuffixHead);
  j["ModelSuffixMiddle"] = Text8(d.ModelSuffixMiddle);
  j["ModelSuffixTail"] = Text8(d.ModelSuffixTail);
  j["FirmwareRevisionSet"] = Text8(d.FirmwareRevisionSet);
  j["RevisionBase"] = Text8(d.RevisionBase);
  j["RevisionSuffix"] = Text8(d.RevisionSuffix);
  j["FamilyId"] = d.FamilyId;
  j["ConfigId"] = d.ConfigId;
  j["Updatable"] = d.Updatable;
  j["UpdateMessage"] = ToUtf8(d.UpdateMessage);
  j["AvailableFirmwareRevision"] = ToUtf8(d.AvailableFirmwareRevision);
  j["AvailableFirmwareFilePath"] = ToUtf8(d.AvailableFirmwareFilePath);
  bool vendorModeLeftOn = false;
  if (machine != nullptr) {
    sim::SimDrive* drive =
        const_cast<sim::SimMachine*>(machine)->Drive(sim::DriveNumberOf(d.DrivePath));
    vendorModeLeftOn = drive != nullptr && drive->device().vendorModeOn();
  }
  j["VendorModeLeftOn"] = vendorModeLeftOn;
  return j;
}

std::string AsText(const nlohmann::ordered_json& drives) {
  std::string out;
  for (const auto& d : drives) {
    out += d["DrivePath"].get<std::string>() + "\n";
    for (const auto& [key, value] : d.items()) {
      if (key == "DrivePath") continue;
      out += "  " + key + ": " + value.dump() + "\n";
    }
  }
  if (drives.empty()) out += "no drives\n";
  return out;
}

}  // namespace

int RunList(const std::vector<std::u16string>& args, Output& output) {
  bool json = false;
  std::optional<std::u16string> machineName;
  std::optional<std::u16string> tracePath;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == u"--json") {
      json = true;
    } else if (args[i] == u"--machine" && hasValue) {
      machineName = args[++i];
    } else if (args[i] == u"--trace" && hasValue) {
      tracePath = args[++i];
    } else {
      output.err += "usage: vxfw list [--machine FILE|default] [--json] [--trace FILE]\n";
      return 2;
    }
  }
  if (tracePath && !machineName) {
    output.err += "vxfw list: --trace needs --machine\n";
    return 2;
  }
  std::unique_ptr<InstalledMachine> simulated;
  if (machineName) {
    std::string error;
    auto machine = LoadMachine(*machineName, error);
    if (!machine) {
      output.err += "vxfw list: " + error + "\n";
      return 2;
    }
    simulated = std::make_unique<InstalledMachine>(std::move(*machine));
    if (tracePath && !simulated->machine().TraceTo(ToUtf8(*tracePath))) {
      output.err += "vxfw list: cannot write " + ToUtf8(*tracePath) + "\n";
      return 2;
    }
  }
  base::InitModuleFolder();
  base::OpenLog(nullptr);
  nlohmann::ordered_json drives = nlohmann::ordered_json::array();
  {
    const drives::DriveList list = drives::EnumerateDrives();
    for (const auto& drive : list) {
      drives.push_back(Describe(*drive, simulated ? &simulated->machine() : nullptr));
    }
  }
  output.out += json ? drives.dump(2) + "\n" : AsText(drives);
  return 0;
}

}  // namespace vxfw
