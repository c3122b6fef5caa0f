#include "update/update_run.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/file.h"
#include "base/format.h"
#include "base/log.h"
#include "base/text.h"
#include "drives/update_package.h"
#include "os/system.h"
#include "update/driver_helper.h"
#include "update/firmware_update_record.h"
#include "update/image_check.h"
#include "update/update_road.h"

namespace update {

std::atomic<std::uint8_t> pollStop{1};

namespace {

std::atomic<SelectionSource*> selectionSource{nullptr};
std::atomic<StatusSink*> statusSink{nullptr};

constexpr auto kPollInterval = std::chrono::milliseconds(10);
// The waits around a transfer, through the system: a simulated run may
// skip them.
constexpr os::DWORD kBeforeTransferMs = 100;
constexpr os::DWORD kAfterFullBarMs = 500;

void Send(const DriveUpdateStatus& status) {
  if (StatusSink* sink = statusSink.load()) sink->SendStatus(status);
}

void SendText(DriveUpdateStatusKind kind, const std::u16string& text) {
  DriveUpdateStatus status;
  status.kind = kind;
  status.text = text + u"\r\n\r\n";
  Send(status);
}

void SendRange(std::int32_t rangeMax) {
  DriveUpdateStatus status;
  status.kind = ProgressRange;
  status.rangeMax = rangeMax;
  Send(status);
}

// Wakes the poller when the transfer ends, so that the run does not wait
// out the rest of its 10 ms pause.
std::mutex pollMutex;
std::condition_variable pollWake;

void StopPolling() {
  {
    std::lock_guard lock(pollMutex);
    pollStop.store(1);
  }
  pollWake.notify_all();
}

void SendPercent(std::int32_t percent) {
  DriveUpdateStatus status;
  status.kind = ProgressPosition;
  status.percent = percent;
  Send(status);
}

// Samples the driver's progress until told to stop. An empty image never
// divides by zero: it shows 0.
void PollProgress(const FirmwareUpdateRecord* record) {
  while (pollStop.load() == 0) {
    const std::uint32_t length = record->imageLength();
    const std::uint64_t percent =
        length == 0 ? 0 : std::uint64_t{record->BytesDone()} * 100 / length;
    SendPercent(static_cast<std::int32_t>(percent));
    std::unique_lock lock(pollMutex);
    pollWake.wait_for(lock, kPollInterval, [] { return pollStop.load() != 0; });
  }
}

// Reads `length` bytes; a read error counts as a short read.
bool ReadImage(base::CFile& file, std::uint8_t* image, std::uint32_t length) {
  std::uint32_t total = 0;
  while (total < length) {
    os::DWORD read = 0;
    if (!file.Read(image + total, length - total, read) || read == 0) return false;
    total += read;
  }
  return true;
}

// One drive; false when it failed.
bool UpdateDrive(FirmwareChannel& channel, const drives::CDrive& drive, int index, int count) {
  const std::u16string model = base::TrimWhiteSpace(drive.ModelText());
  const std::u16string serial = base::TrimWhiteSpace(drive.SerialNumberText());
  const std::u16string& path = drive.AvailableFirmwareFilePath;
  SendText(StatusText,
           base::Format(u"Updating drive %s (%s), %d of %d, Please wait. It can take several "
                       u"minutes.",
                       model, serial, index, count));
  base::CFile file;
  if (!file.Open(path, base::CFile::modeRead | base::CFile::shareDenyWrite)) {
    SendText(ErrorText, base::Format(u"Drive update failed, can not open firmware file %s", path));
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"Can not open firmware file %s (%d)", path,
                        static_cast<int>(file.openCause()));
    }
    return false;
  }
  std::uint64_t fileLength = 0;
  if (!file.GetLength(fileLength)) {
    SendText(ErrorText,
             base::Format(u"Drive update failed, can not get status of firmware file %s", path));
    if (base::IsLogOpen()) {
      base::WriteLogLine(u"Can not get firmware file status %s (%d)", path,
                        static_cast<int>(file.openCause()));
    }
    return false;
  }
  // A file too large for its record fails as an allocation would.
  const auto length = static_cast<std::uint32_t>(fileLength);
  auto record = fileLength > UINT32_MAX ? nullptr : FirmwareUpdateRecord::Create(length);
  if (record == nullptr) {
    SendText(ErrorText, u"Drive update failed, can not allocate memory");
    if (base::IsLogOpen()) base::WriteLogLine(u"Can not allocate memory for driveInfo");
    return false;
  }
  record->SetBusType(drive.BusType);
  record->SetTransferMax(drive.TransferMax);
  record->SetDrivePath(drive.DrivePath);
  record->SetDriveDevicePath(drive.DriveDevicePath);
  record->SetPhyEntity(drive.PhyEntity);
  record->SetSerialNumber(base::Narrow(serial));
  record->SetFirmwareRevision(base::Narrow(base::TrimWhiteSpace(drive.AvailableFirmwareRevision)));
  if (!ReadImage(file, record->image(), length)) {
    const std::u16string text =
        base::Format(u"Drive update failed, can not read firmware file %s", path);
    SendText(ErrorText, text);
    if (base::IsLogOpen()) base::WriteLogText(text);
    return false;
  }

  SendRange(100);
  pollStop.store(0);
  std::thread poller(PollProgress, record.get());
  os::Sys().process.Sleep(kBeforeTransferMs);
  const base::ErrorInfoPtr result = channel.Transfer(drive, *record);
  StopPolling();
  poller.join();
  const bool ok = base::IsSuccess(result);
  if (ok) {
    SendPercent(100);
    os::Sys().process.Sleep(kAfterFullBarMs);
  }
  SendRange(0);
  if (ok) {
    SendText(StatusText, u"Drive updated successfully");
    return true;
  }
  SendText(ErrorText, base::Format(u"Driver call failed (0x%x)", result->code));
  if (base::IsLogOpen()) {
    base::WriteLogLine(u"Driver call \r\n%s\r\n", base::FormatErrorInfo(*result));
  }
  return false;
}

std::u16string FileNameOf(const std::u16string& path) {
  const auto slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// Each image the selection uses, read once before the driver is loaded. A
// file that cannot be read is left to the transfer's own messages.
bool ImagesAreWhole(const Selection& selection) {
  std::set<std::u16string> checked;
  for (const auto& [serial, drive] : selection) {
    const std::u16string& path = drive->AvailableFirmwareFilePath;
    if (!checked.insert(path).second) continue;
    const drives::package::ImageDigest* expected =
        drives::package::ExpectedImage(FileNameOf(path));
    if (expected == nullptr) continue;
    const std::optional<FileDigest> found = DigestFile(path);
    if (!found || (found->length == expected->length && found->sha256 == expected->sha256)) {
      continue;
    }
    const std::u16string sha256 = base::Widen(expected->sha256);
    SendText(ErrorText,
             base::Format(u"Firmware file %s is damaged (expected %u bytes, SHA-256 %s)", path,
                          expected->length, sha256));
    if (base::IsLogOpen()) {
      base::WriteLogLine(
          u"Firmware file %s is damaged: expected %u bytes, SHA-256 %s; found %s bytes, "
          u"SHA-256 %s",
          path, expected->length, sha256, base::Widen(std::to_string(found->length)),
          base::Widen(found->sha256));
    }
    return false;
  }
  return true;
}

// What an updated drive runs now. A drive that activates its new firmware
// at the next power-on still reports the old one: the user is told to
// restart, and the update counts as done.
void ReadRevisionBack(drives::CDrive& drive) {
  const std::u16string model = base::TrimWhiteSpace(drive.ModelText());
  const std::u16string serial = base::TrimWhiteSpace(drive.SerialNumberText());
  const std::u16string expected = drives::package::kFirmwareRevision;
  drive.FirmwareRevisionAfterUpdate = drive.ReadFirmwareRevision();
  const std::u16string& found = drive.FirmwareRevisionAfterUpdate;
  if (base::IsLogOpen()) {
    base::WriteLogLine(u"Drive %s (%s) firmware revision after update: %s (expected %s)", model,
                       serial, found.empty() ? std::u16string(u"not read") : found, expected);
  }
  if (found != expected) {
    SendText(StatusText,
             base::Format(u"Drive %s reports firmware %s; restart the computer to finish the "
                          u"update.",
                          serial, found.empty() ? std::u16string(u"unknown") : found));
  }
}

// Input stays blocked until the run ends, on every path.
class BlockedInput {
 public:
  BlockedInput() { os::Sys().input.BlockInput(os::kTrue); }
  ~BlockedInput() { os::Sys().input.BlockInput(os::kFalse); }
  BlockedInput(const BlockedInput&) = delete;
  BlockedInput& operator=(const BlockedInput&) = delete;
};

}  // namespace

void SetSelectionSource(SelectionSource* source) { selectionSource.store(source); }
SelectionSource* GetSelectionSource() { return selectionSource.load(); }
void SetStatusSink(StatusSink* sink) { statusSink.store(sink); }

bool CDrivesUpdateThread::InitInstance() {
  // The helper outlives the blocked input: input is released first.
  const auto helper = std::make_shared<CDriverHelper>();
  const BlockedInput blocked;
  SendText(StatusText,
           u"\r\n** SYSTEM MAY APPEAR UNRESPONSIVE **\r\n** PLEASE DO NOT UNPLUG OR POWER OFF "
           u"THE SYSTEM **");
  SelectionSource* source = GetSelectionSource();
  const Selection selection = source != nullptr ? source->selection() : Selection{};
  // A damaged image ends the run as a driver that does not load does.
  if (!ImagesAreWhole(selection)) return true;
  UpdateRoad road = ChooseUpdateRoad(*helper, selection);
  if (road.channel == nullptr) {
    SendText(StatusText, road.unavailable);
    SendText(ErrorText, base::Format(u"Failed to load driver (0x%x)", road.driverLoad->code));
    return true;
  }
  bool failed = false;
  {
    const int count = static_cast<int>(selection.size());
    int index = 1;
    std::vector<drives::CDrivePtr> updated;
    for (const auto& [serial, drive] : selection) {
      if (!UpdateDrive(*road.channel, *drive, index, count)) {
        failed = true;
        break;
      }
      updated.push_back(drive);
      ++index;
    }
    road.windows.reset();
    helper->StopDriverAndRemove();
    for (const drives::CDrivePtr& drive : updated) ReadRevisionBack(*drive);
    if (failed) {
      SendText(ErrorText, u"UPDATE FAILED!!!");
    } else {
      SendText(DoneText, u"UPDATE DONE");
    }
  }
  return true;
}

}  // namespace update
