// The Windows road: Windows' own storage firmware interface on each
// drive's \\.\PhysicalDriveN handle. GET_INFO tells whether the drive's
// stack takes firmware, its alignment, largest segment and slots; the image
// goes down in segments of the largest multiple of the alignment within
// both the largest segment and the drive's transferMax, the first and last
// flagged, and ACTIVATE asks the drive to run it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/error_info.h"
#include "os/scoped_handle.h"
#include "update/firmware_channel.h"

namespace update {

// GET_INFO's answer.
struct FirmwareInterfaceInfo {
  struct Slot {
    std::uint8_t number = 0;
    bool readOnly = false;
    std::string revision;  // up to its first NUL
  };
  bool supportUpgrade = false;
  std::uint8_t activeSlot = 0;
  std::uint8_t pendingActivateSlot = 0xFF;  // 0xFF: none
  std::uint32_t alignment = 0;
  std::uint32_t maxSize = 0;
  std::vector<Slot> slots;
};

// The answer in the `size` bytes the call returned; none when they are too
// few for its head or for the slots it counts.
std::optional<FirmwareInterfaceInfo> ParseFirmwareInterfaceInfo(const std::uint8_t* answer,
                                                                std::uint32_t size);

// The answer as one line of the log.
std::u16string DescribeFirmwareInterfaceInfo(const FirmwareInterfaceInfo& info);

// The slot an image goes to: the first one that is not read-only.
std::optional<std::uint8_t> WritableSlot(const FirmwareInterfaceInfo& info);

// The largest multiple of `alignment` within `maxSize` and, when it is not
// 0, `transferMax`; 0 when there is none.
std::uint32_t SegmentSize(std::uint32_t alignment, std::uint32_t maxSize,
                          std::uint32_t transferMax);

class StorageFirmwareChannel final : public FirmwareChannel {
 public:
  struct Probe {
    base::ErrorInfoPtr status;
    std::optional<FirmwareInterfaceInfo> info;  // when the call answered
  };

  StorageFirmwareChannel() = default;
  StorageFirmwareChannel(const StorageFirmwareChannel&) = delete;
  StorageFirmwareChannel& operator=(const StorageFirmwareChannel&) = delete;

  // Opens the drive for reading and writing and asks GET_INFO. A success
  // means the drive takes firmware through this interface; its handle then
  // stays open for Transfer, and closes with the channel.
  Probe Open(const drives::CDrive& drive);

  base::ErrorInfoPtr Transfer(const drives::CDrive& drive,
                              FirmwareUpdateRecord& record) override;

 private:
  struct Target {
    os::UniqueDeviceHandle handle;
    FirmwareInterfaceInfo info;
    std::uint8_t slot = 0;
  };
  std::map<std::u16string, Target> targets_;  // by drive path
};

}  // namespace update
