// The drive behind the pass-through blocks: a command set as a Veltrax
// drive's firmware answers it. IDENTIFY with spin-up, SET FEATURES, SMART
// with its logs, the vendor-specific channel at levels 4 and 5, DOWNLOAD
// MICROCODE whole and segmented; anything else is aborted.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "sim/drive_description.h"
#include "sim/identify_builder.h"

namespace sim {

struct AtaCommand {
  std::uint16_t features = 0;
  std::uint16_t count = 0;
  std::uint64_t lba = 0;  // 48 bits
  std::uint8_t device = 0;
  std::uint8_t command = 0;
};

struct AtaResult {
  std::uint8_t status = 0x50;  // DRDY | DSC
  std::uint8_t error = 0;
  std::uint16_t count = 0;
  std::uint64_t lba = 0;
  std::uint8_t device = 0;
  std::optional<std::uint32_t> ioctlError;  // a fault: the call itself fails
};

// What a drive that aborts a command answers: status 0x51, error 0x04.
AtaResult Aborted();

enum class Direction { None, In, Out };

// Where a deferred download stands: nothing received, segments arriving,
// a whole image saved and waiting for activation, or the downloaded image
// running.
enum class StagedImage { None, Partial, Saved, Active };

class AtaDevice {
 public:
  explicit AtaDevice(DriveDescription description);

  // What a command moves, as the port driver checks it before sending.
  Direction DirectionOf(const AtaCommand& c) const;
  std::uint32_t BytesOf(const AtaCommand& c) const;

  // Runs one command. `data` holds the data-out bytes, or receives the
  // data-in bytes (it is sized by BytesOf).
  AtaResult Execute(const AtaCommand& c, std::vector<std::uint8_t>& data);

  // The first armed fault named `on`, counted down.
  std::optional<Fault> TakeFault(const std::string& on);

  const DriveDescription& description() const { return description_; }
  std::string firmware() const;
  // The IDENTIFY block as the drive would send it now, spun up.
  Sector IdentifyBlock() const;
  std::string revisionSet() const;
  bool vendorModeOn() const;
  // Installs an image as the drive's own DOWNLOAD MICROCODE would: checks
  // it, and on success runs the revisions it carries.
  bool Activate(const std::vector<std::uint8_t>& image);
  // Power off and on: an image waiting for it starts to run.
  void PowerCycle();
  StagedImage staged() const;

 private:
  AtaResult Identify(std::vector<std::uint8_t>& data);
  AtaResult SetFeatures(const AtaCommand& c);
  AtaResult Smart(const AtaCommand& c, std::vector<std::uint8_t>& data);
  AtaResult VendorModeCommand(const AtaCommand& c);
  AtaResult KeySector(const std::vector<std::uint8_t>& sector);
  AtaResult Download(const AtaCommand& c, const std::vector<std::uint8_t>& data);
  // One segment of mode 3 or 0Eh; `whole` answers the last one.
  AtaResult ReceiveSegment(const AtaCommand& c, const std::vector<std::uint8_t>& data,
                           const std::function<AtaResult()>& whole);
  // A whole, undamaged image for this drive's family and configuration.
  bool Accepts(const std::vector<std::uint8_t>& image) const;
  bool ActivateSaved();
  std::vector<std::uint8_t> InfoRecord(std::uint16_t selector) const;
  AtaResult Announce(std::uint32_t sectors, std::uint32_t bytes);
  AtaResult ApplyFault(const std::string& on, AtaResult result);

  DriveDescription description_;
  mutable std::recursive_mutex mutex_;
  std::string firmware_;
  std::string revisionSet_;
  // An accepted image waiting for the next power cycle: firmware, set.
  std::optional<std::pair<std::string, std::string>> atRestart_;
  bool spunUp_;
  bool vendorMode_ = false;
  Sector lastKeySector_{};
  Sector response_{};
  std::vector<std::uint8_t> pending_;  // data of the last action
  std::size_t pendingRead_ = 0;
  std::vector<std::uint8_t> download_;  // segments received so far
  std::vector<std::uint8_t> saved_;     // a deferred image, whole
  StagedImage staged_ = StagedImage::None;
};

}  // namespace sim
