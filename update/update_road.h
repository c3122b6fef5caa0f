// The road that carries a run's images, chosen once before the first
// drive: the firmware update driver when its service starts (its binary
// beside the executable), otherwise Windows' own storage firmware
// interface when every selected drive offers it for its image, otherwise
// neither, with the reason in words.
#pragma once

#include <memory>
#include <string>

#include "base/error_info.h"
#include "update/driver_helper.h"
#include "update/storage_firmware_channel.h"
#include "update/update_run.h"

namespace update {

struct UpdateRoad {
  FirmwareChannel* channel = nullptr;  // null: neither road
  std::unique_ptr<StorageFirmwareChannel> windows;  // the Windows road's drives
  base::ErrorInfoPtr driverLoad;  // CreateAndStartDriver's answer
  std::u16string unavailable;     // why neither road, when channel is null
};

// Logs the driver's answer, each drive's GET_INFO answer when the driver
// did not load, and the road taken.
UpdateRoad ChooseUpdateRoad(CDriverHelper& helper, const Selection& selection);

}  // namespace update
