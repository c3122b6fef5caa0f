// What a simulated drive is: its identity, capabilities and vendor data as
// a machine description gives them, and the faults it is to show.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// A fault armed on one command or vendor step. `on` names it: "identify",
// "smart", "download", "vendor:enable", "vendor:key", "vendor:data",
// "vendor:disable", "ata-pass-through", "scsi-pass-through", "registers",
// "storage-query", "firmware-get-info", "firmware-download",
// "firmware-activate". Whichever of the effects are set apply.
struct Fault {
  std::string on;
  std::optional<std::uint32_t> ioctlError;  // the call fails with this code
  std::optional<std::uint8_t> status;       // ATA status returned
  std::optional<std::uint8_t> error;        // ATA error returned
  std::optional<std::uint8_t> scsiStatus;   // SCSI status of the reply
  std::optional<std::uint8_t> descriptorCode;  // first byte of the registers
  std::uint32_t latencyMs = 0;
  int skip = 0;    // matches let pass before the fault strikes
  int times = -1;  // -1: every time
};

struct DriveDescription {
  // Identity.
  std::string model = "VX7221-500G-A";
  std::string serial = "VX00000001";
  std::string firmware = "02.01P02";
  std::uint64_t wwn = 0;
  std::uint64_t sectors = 976773168;
  std::uint32_t logicalSectorSize = 512;

  // Capabilities.
  bool downloadMicrocode = true;
  bool segmented = true;
  std::uint16_t transferMinBlocks = 1;
  std::uint16_t transferMaxBlocks = 128;
  bool securitySupported = false;
  bool securityEnabled = false;
  bool spinUpRequired = false;
  // A downloaded image runs only after the next power cycle, as drives
  // that activate at power-on do; until then the old firmware answers.
  bool activatesAtRestart = false;
  // DOWNLOAD MICROCODE modes 0Eh (save for later) and 0Fh (activate), the
  // ones Windows' own firmware interface sends.
  bool deferredDownload = false;

  // Vendor data: IDENTIFY words 133/134 and 142, the physical-parameters
  // block and the information records.
  std::uint8_t vscLevel = 4;
  std::uint16_t familyId = 666;   // 0xFE form when above 0xFD
  std::uint16_t configId = 2445;
  std::string revisionSet = "02.01P02 .18.3C.19P";
  std::uint16_t responseVersion = 0x0200;  // level 5 response sector
  bool descriptorAfterHeader = false;      // SAT register reply form
  // The key the drive's firmware expects in a level-5 enable sector.
  std::array<std::uint8_t, 6> vendorModeKey = {0x56, 0x58, 0x4D, 0x44, 0x35, 0xA5};

  std::map<int, std::uint16_t> identifyWords;       // overrides by word
  std::map<int, std::uint8_t> physParamBytes;       // overrides by offset

  std::vector<Fault> faults;
  std::uint32_t latencyMs = 0;  // added to every command
};

}  // namespace sim
