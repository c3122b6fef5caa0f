// The native road: the description of every selected drive in a registry
// tree, the boot-time native application in the system directory and first
// in the Session Manager's boot-execute list, the wizard's "done" start in
// RunOnce; and the clean-up of all of it after the restart.
#pragma once

#include <string>

#include "base/error_info.h"

namespace update {

class CNativeAppHelper {
 public:
  base::ErrorInfoPtr CreateDriveRegistry();
  base::ErrorInfoPtr AddNativeApp();
  // Switches "AmdSataShafran" on under the two AMD SATA driver services
  // that exist; always a success.
  base::ErrorInfoPtr AddAMDDriverRegistryValues();
  void RemoveNativeApp();
  // The whole preparation; rolled back on the first failure.
  base::ErrorInfoPtr PrepareNativeUpdate();
  // Removes what a preparation left; checks and reports nothing.
  void CleanUpNativeUpdate();
};

// The bare name in the boot-execute list: "VLXFMNativeApp64" on 64-bit
// Windows, else "VLXFMNativeApp32".
std::u16string NativeAppName();

}  // namespace update
