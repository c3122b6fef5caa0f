// Every value the library decodes from one IDENTIFY DEVICE block, and the
// capability bits the drive record uses, as vxfw identify prints them.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/vxfw/identify_file.h"

namespace vxfw {

// Throws the library's exception when the block cannot be decoded.
nlohmann::ordered_json DecodeIdentify(const IdentifyBytes& block);

}  // namespace vxfw
