// AMD SATA controller drivers carry a feature switch, "AmdSataShafran"
// under their service's Parameters\Device key, that must be on before the
// wizard updates firmware through them; it takes effect after a restart.
#pragma once

#include <optional>
#include <string>

namespace update {

// The lower-cased service name of the first hard disk controller whose
// driver service has "amd" in its name, or none.
std::optional<std::u16string> FindAmdStorageController();

// True when the service's "AmdSataShafran" is a REG_DWORD of 1.
bool IsAmdSataFeatureEnabled(const std::u16string& service);

}  // namespace update
