// What carries one drive's firmware image: the firmware update driver, or
// Windows' own storage firmware interface. Both take the same record and
// keep its bytesDone current while they work, so the progress poller and
// the progress page cannot tell them apart.
#pragma once

#include "base/error_info.h"

namespace drives {
class CDrive;
}

namespace update {

class FirmwareUpdateRecord;

class FirmwareChannel {
 public:
  virtual ~FirmwareChannel() = default;
  // Returns when the drive has the whole image, or with the failure.
  virtual base::ErrorInfoPtr Transfer(const drives::CDrive& drive,
                                      FirmwareUpdateRecord& record) = 0;
};

}  // namespace update
