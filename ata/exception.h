// The ATA library's failures. Thrown by value, caught by reference; a catch
// of Exception also catches AtaException.
#pragma once

#include <cstdint>
#include <string>

#include "ata/taskfile.h"

namespace tessel {

// The high half tells system failures (0x1xxxx) from the library's own.
enum ErrorCode : std::uint32_t {
  ErrorSystem = 0x10000,
  ErrorNotImplemented = 0x20000,
  ErrorInvalidArgument = 0x20001,
  ErrorOutOfMemory = 0x20002,
  ErrorProtocolNotSupported = 0x20003,
  ErrorAtaCommand = 0x20005,
};

class Exception {
 public:
  // `detail`: the system's error code, a SCSI status or returned byte, or
  // a vendor-channel level, where the message says so; otherwise 0.
  Exception(std::uint32_t code, std::string message, std::int32_t detail = 0)
      : code_(code), message_(std::move(message)), detail_(detail) {}
  virtual ~Exception() = default;

  std::uint32_t code() const { return code_; }
  const std::string& message() const { return message_; }
  std::int32_t detail() const { return detail_; }

 private:
  std::uint32_t code_;
  std::string message_;
  std::int32_t detail_;
};

// A command completed but its registers report failure. `operation` names
// the step that failed ("enable", "read phy params", ...).
class AtaException : public Exception {
 public:
  AtaException(const Taskfile& taskfile, const std::string& text)
      : Exception(ErrorAtaCommand, text, 0),
        taskfile_(taskfile),
        operation_(text) {}

  const Taskfile& taskfile() const { return taskfile_; }
  const std::string& operation() const { return operation_; }

 private:
  Taskfile taskfile_;
  std::string operation_;
};

// Throws AtaException named `step` when `taskfile` reports a failed
// command.
inline void ThrowIfCommandFailed(const Taskfile& taskfile, const std::string& step) {
  if (IsCommandFailure(taskfile)) throw AtaException(taskfile, step);
}

}  // namespace tessel
