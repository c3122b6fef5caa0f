// OLE for the calling thread, which the rich edit control of the license
// page needs.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

using HRESULT = std::int32_t;

constexpr HRESULT kSOk = 0;
constexpr HRESULT kSFalse = 1;  // already initialised on this thread

constexpr bool Succeeded(HRESULT result) { return result >= 0; }

class Ole {
 public:
  virtual ~Ole() = default;
  virtual HRESULT OleInitialize(void* reserved) = 0;
  virtual void OleUninitialize() = 0;
};

}  // namespace os
