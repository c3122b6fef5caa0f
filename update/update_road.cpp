#include "update/update_road.h"

#include <optional>

#include "base/file.h"
#include "base/format.h"
#include "base/log.h"
#include "base/text.h"
#include "drives/drive.h"
#include "os/constants.h"

namespace update {

namespace {

void Log(const std::u16string& line) {
  if (base::IsLogOpen()) base::WriteLogText(line);
}

std::u16string DriveName(const drives::CDrive& drive) {
  return base::TrimWhiteSpace(drive.ModelText()) + u" (" +
         base::TrimWhiteSpace(drive.SerialNumberText()) + u")";
}

// The image's length, or none when the file does not open: the transfer
// then says so in its own words.
std::optional<std::uint64_t> ImageLength(const std::u16string& path) {
  base::CFile file;
  std::uint64_t length = 0;
  if (!file.Open(path, base::CFile::modeRead | base::CFile::shareDenyWrite) ||
      !file.GetLength(length)) {
    return std::nullopt;
  }
  return length;
}

std::u16string DriverUnavailable(const base::ErrorInfo& load) {
  const bool missing =
      load.code == os::kErrorFileNotFound || load.code == os::kErrorPathNotFound;
  if (missing) return base::Format(u"the firmware driver is missing (0x%x)", load.code);
  return base::Format(u"the firmware driver did not load (0x%x)", load.code);
}

std::u16string InterfaceUnavailable(const drives::CDrive& drive, const base::ErrorInfo& status) {
  if (status.code == os::kErrorNotSupported) {
    return base::Format(u"drive %s does not take firmware through Windows (0x%x)",
                        DriveName(drive), status.code);
  }
  return base::Format(u"drive %s has no Windows firmware interface (0x%x)", DriveName(drive),
                      status.code);
}

// Why the Windows road cannot carry this selection, or empty when it can.
// Every drive is asked, so the log holds each one's answer.
std::u16string OpenWindowsRoad(StorageFirmwareChannel& channel, const Selection& selection) {
  if (selection.empty()) return u"no drive is selected";
  std::u16string reason;
  for (const auto& [serial, drive] : selection) {
    const StorageFirmwareChannel::Probe probe = channel.Open(*drive);
    if (probe.info) {
      Log(base::Format(u"Drive %s Windows firmware interface: %s", DriveName(*drive),
                       DescribeFirmwareInterfaceInfo(*probe.info)));
    } else {
      Log(base::Format(u"Drive %s Windows firmware interface: not available (0x%x)",
                       DriveName(*drive), probe.status->code));
    }
    if (!reason.empty()) continue;
    if (!base::IsSuccess(probe.status)) {
      reason = InterfaceUnavailable(*drive, *probe.status);
      continue;
    }
    const std::optional<std::uint64_t> length = ImageLength(drive->AvailableFirmwareFilePath);
    const std::uint32_t alignment = probe.info->alignment;
    if (length && (*length == 0 || *length % alignment != 0)) {
      reason = base::Format(u"the image %s of %s bytes is not a multiple of the %u-byte "
                            u"alignment of drive %s",
                            drive->AvailableFirmwareFilePath, base::Widen(std::to_string(*length)),
                            alignment, DriveName(*drive));
    }
  }
  return reason;
}

}  // namespace

UpdateRoad ChooseUpdateRoad(CDriverHelper& helper, const Selection& selection) {
  UpdateRoad road;
  road.driverLoad = helper.CreateAndStartDriver();
  if (base::IsSuccess(road.driverLoad)) {
    road.channel = &helper;
    Log(u"Update road: firmware driver");
    return road;
  }
  if (base::IsLogOpen()) {
    base::WriteLogLine(u"Driver load failed\r\n%s\r\n", base::FormatErrorInfo(*road.driverLoad));
  }
  auto windows = std::make_unique<StorageFirmwareChannel>();
  const std::u16string lacking = OpenWindowsRoad(*windows, selection);
  if (lacking.empty()) {
    road.windows = std::move(windows);
    road.channel = road.windows.get();
    Log(u"Update road: Windows storage firmware interface");
    return road;
  }
  road.unavailable = base::Format(u"Neither update road is available: %s, and %s.",
                                  DriverUnavailable(*road.driverLoad), lacking);
  Log(u"Update road: none. " + road.unavailable);
  return road;
}

}  // namespace update
