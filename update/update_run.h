// The update on the driver road, as the update worker thread runs it: block
// input, load the driver, hand each selected drive its firmware image, and
// report every step to the progress page as a WM_DRIVE_UPDATE_STATUS.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "drives/drive.h"
#include "os/constants.h"

namespace update {

constexpr std::uint32_t WM_DRIVE_UPDATE_STATUS = os::kWmUser + 1;

enum DriveUpdateStatusKind : std::int32_t {
  StatusText = 0,
  ProgressRange = 1,
  ProgressPosition = 2,
  ErrorText = 3,
  DoneText = 4,
};

struct DriveUpdateStatus {
  std::int32_t kind = StatusText;
  std::u16string text;        // kinds 0, 3, 4: the text and "\r\n\r\n"
  std::int32_t rangeMax = 0;  // kind 1: 100 shows the bar, 0 hides it
  std::int32_t percent = 0;   // kind 2
};

// The ticked drives by serial number, compared unit by unit.
using Selection = std::map<std::u16string, drives::CDrivePtr>;

// What the drive selection page offers the update: its selection.
class SelectionSource {
 public:
  virtual ~SelectionSource() = default;
  virtual Selection selection() const = 0;
};

// Where the statuses go, with SendMessageW's semantics: the call returns
// when the receiver has handled the status.
class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void SendStatus(const DriveUpdateStatus& status) = 0;
};

// The process-wide pointers the pages register themselves in.
void SetSelectionSource(SelectionSource* source);
SelectionSource* GetSelectionSource();
void SetStatusSink(StatusSink* sink);

// 0 while a transfer runs; 1 ends the polling.
extern std::atomic<std::uint8_t> pollStop;

// The worker thread of the driver road.
class CDrivesUpdateThread {
 public:
  // The whole update; returns true so the thread's message loop follows.
  bool InitInstance();
};

}  // namespace update
