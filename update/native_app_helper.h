// The registry and file operations of the native road.
#pragma once

#include "app/error_info.h"

class CNativeAppHelper {
 public:
  // Switches "AmdSataShafran" on under the two AMD SATA driver services
  // that exist; always a success.
  app::ErrorInfoPtr AddAMDDriverRegistryValues();
};
