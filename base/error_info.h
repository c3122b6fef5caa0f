// The result record of the drive, driver and native-mode operations. An
// operation starts its own record as a success naming itself; a failure
// overwrites all four fields, and callers hand the inner record on, so the
// record that reaches the user names the innermost failing step.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace base {

constexpr std::uint32_t kSuccessCode = 0xFFFFF000u;

struct ErrorInfo {
  std::uint32_t code = kSuccessCode;
  std::u16string file;
  std::int32_t line = 0;
  std::u16string function;

  void Fail(std::uint32_t failCode, std::u16string failFile,
            std::int32_t failLine, std::u16string failFunction) {
    code = failCode;
    file = std::move(failFile);
    line = failLine;
    function = std::move(failFunction);
  }
};

using ErrorInfoPtr = std::shared_ptr<ErrorInfo>;

// A success record of `function`, set by `file` at its starting `line`.
inline ErrorInfoPtr MakeErrorInfo(std::u16string file, std::int32_t line,
                                  std::u16string function) {
  return std::make_shared<ErrorInfo>(
      ErrorInfo{kSuccessCode, std::move(file), line, std::move(function)});
}

inline bool IsSuccess(const ErrorInfoPtr& info) {
  return info != nullptr && info->code == kSuccessCode;
}

}  // namespace base
