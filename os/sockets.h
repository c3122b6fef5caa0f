// Windows Sockets: the library's start and end for the process. Nothing of
// the system opens a socket; the start-up only asks for the library.
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

using WORD = std::uint16_t;

// The part of WSADATA the system reads: the version granted.
struct WsaData {
  WORD wVersion;
  WORD wHighVersion;
};

constexpr WORD kWinsockVersion11 = 0x0101;

class Sockets {
 public:
  virtual ~Sockets() = default;
  // 0, or the error code itself (not through the last error).
  virtual int WSAStartup(WORD versionRequested, WsaData* data) = 0;
  virtual int WSACleanup() = 0;
};

}  // namespace os
