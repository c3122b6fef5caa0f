#include "sim/machine_description.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <stdexcept>

namespace sim {
namespace {

using Json = nlohmann::json;

struct Invalid : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Numbers may be written as JSON numbers or as strings ("0x5A1B...");
// negative ones only where a field says so.
std::uint64_t Number(const Json& j, const std::string& where) {
  if (j.is_number_unsigned()) return j.get<std::uint64_t>();
  if (j.is_number_integer()) throw Invalid(where + ": negative");
  if (j.is_string() && !j.get<std::string>().empty() && j.get<std::string>()[0] != '-') {
    try {
      std::size_t used = 0;
      const auto value = std::stoull(j.get<std::string>(), &used, 0);
      if (used == j.get<std::string>().size()) return value;
    } catch (const std::exception&) {
    }
  }
  throw Invalid(where + ": not a number");
}

// A number that fits `T`; a typo must not wrap into another value.
template <class T>
T Sized(const Json& j, const std::string& where) {
  const std::uint64_t value = Number(j, where);
  if (value > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) {
    throw Invalid(where + ": " + std::to_string(value) + " is out of range (at most " +
                  std::to_string(std::numeric_limits<T>::max()) + ")");
  }
  return static_cast<T>(value);
}

// NTSTATUS values: -2147483648 to 4294967295, the upper half read as negative.
std::int32_t Signed32(const Json& j, const std::string& where) {
  if (j.is_number_integer() && !j.is_number_unsigned()) {
    const std::int64_t value = j.get<std::int64_t>();
    if (value < std::numeric_limits<std::int32_t>::min()) {
      throw Invalid(where + ": " + std::to_string(value) + " is out of range");
    }
    return static_cast<std::int32_t>(value);
  }
  return static_cast<std::int32_t>(Sized<std::uint32_t>(j, where));
}

// An object key that names a word or byte position: decimal, below `limit`.
int Position(const std::string& key, int limit, const std::string& where) {
  const bool decimal = !key.empty() && key.size() <= 4 &&
                       key.find_first_not_of("0123456789") == std::string::npos;
  if (!decimal || std::stoi(key) >= limit) {
    throw Invalid(where + ": \"" + key + "\" is not a position from 0 to " +
                  std::to_string(limit - 1));
  }
  return std::stoi(key);
}

const Json& Object(const Json& j, const std::string& where) {
  if (!j.is_object()) throw Invalid(where + ": not an object");
  return j;
}

const Json& Array(const Json& j, const std::string& where) {
  if (!j.is_array()) throw Invalid(where + ": not a list");
  return j;
}

// The steps a fault can be armed on.
const std::set<std::string>& FaultSteps() {
  static const std::set<std::string> steps = {
      "identify",          "smart",           "download",     "vendor:enable",
      "vendor:key",        "vendor:data",     "vendor:disable", "ata-pass-through",
      "scsi-pass-through", "registers",       "storage-query",  "firmware-get-info",
      "firmware-download", "firmware-activate"};
  return steps;
}

std::string Text(const Json& j, const std::string& where) {
  if (!j.is_string()) throw Invalid(where + ": not a string");
  return j.get<std::string>();
}

bool Flag(const Json& j, const std::string& where) {
  if (!j.is_boolean()) throw Invalid(where + ": not true or false");
  return j.get<bool>();
}

std::u16string Wide(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

void OnlyKeys(const Json& j, const std::set<std::string>& keys,
              const std::string& where) {
  if (!j.is_object()) throw Invalid(where + ": not an object");
  for (const auto& [key, value] : j.items()) {
    if (keys.count(key) == 0) throw Invalid(where + ": unknown key \"" + key + "\"");
  }
}

Fault ParseFault(const Json& j, const std::string& where) {
  OnlyKeys(j, {"on", "ioctlError", "status", "error", "scsiStatus",
               "descriptorCode", "latencyMs", "skip", "times"}, where);
  Fault f;
  if (!j.contains("on")) throw Invalid(where + ": no \"on\"");
  f.on = Text(j["on"], where + ".on");
  if (FaultSteps().count(f.on) == 0) {
    throw Invalid(where + ".on: unknown step \"" + f.on + "\"");
  }
  if (j.contains("ioctlError")) f.ioctlError = Sized<std::uint32_t>(j["ioctlError"], where + ".ioctlError");
  if (j.contains("status")) f.status = Sized<std::uint8_t>(j["status"], where + ".status");
  if (j.contains("error")) f.error = Sized<std::uint8_t>(j["error"], where + ".error");
  if (j.contains("scsiStatus")) f.scsiStatus = Sized<std::uint8_t>(j["scsiStatus"], where + ".scsiStatus");
  if (j.contains("descriptorCode")) f.descriptorCode = Sized<std::uint8_t>(j["descriptorCode"], where + ".descriptorCode");
  if (j.contains("latencyMs")) f.latencyMs = Sized<std::uint32_t>(j["latencyMs"], where + ".latencyMs");
  if (j.contains("skip")) f.skip = static_cast<int>(Signed32(j["skip"], where));
  if (j.contains("times")) f.times = static_cast<int>(Signed32(j["times"], where));
  return f;
}

SimDriveEntry ParseDrive(const Json& j, const std::string& where) {
  OnlyKeys(j, {"number", "busType", "devicePath", "linkOpenStatus",
               "linkQueryStatus", "model", "serial", "firmware", "wwn",
               "sectors", "logicalSectorSize", "downloadMicrocode",
               "segmented", "transferMinBlocks", "transferMaxBlocks",
               "securitySupported", "securityEnabled", "spinUpRequired", "activatesAtRestart",
               "deferredDownload",
               "vscLevel", "familyId", "configId", "revisionSet",
               "responseVersion", "descriptorAfterHeader", "identifyWords",
               "physParamBytes", "faults", "latencyMs", "comment"},
           where);
  SimDriveEntry e;
  if (!j.contains("number")) throw Invalid(where + ": no \"number\"");
  e.number = Sized<std::int32_t>(j["number"], where + ".number");
  e.devicePath = Wide("\\Device\\Harddisk" + std::to_string(e.number) + "\\DR" +
                      std::to_string(e.number));
  DriveDescription& d = e.drive;
  for (const auto& [key, v] : j.items()) {
    const std::string at = where + "." + key;
    if (key == "busType") e.busType = Sized<std::uint32_t>(v, at);
    else if (key == "devicePath") e.devicePath = Wide(Text(v, at));
    else if (key == "linkOpenStatus") e.linkOpenStatus = Signed32(v, at);
    else if (key == "linkQueryStatus") e.linkQueryStatus = Signed32(v, at);
    else if (key == "model") d.model = Text(v, at);
    else if (key == "serial") d.serial = Text(v, at);
    else if (key == "firmware") d.firmware = Text(v, at);
    else if (key == "wwn") d.wwn = Number(v, at);
    else if (key == "sectors") d.sectors = Number(v, at);
    else if (key == "logicalSectorSize") d.logicalSectorSize = Sized<std::uint32_t>(v, at);
    else if (key == "downloadMicrocode") d.downloadMicrocode = Flag(v, at);
    else if (key == "segmented") d.segmented = Flag(v, at);
    else if (key == "transferMinBlocks") d.transferMinBlocks = Sized<std::uint16_t>(v, at);
    else if (key == "transferMaxBlocks") d.transferMaxBlocks = Sized<std::uint16_t>(v, at);
    else if (key == "securitySupported") d.securitySupported = Flag(v, at);
    else if (key == "securityEnabled") d.securityEnabled = Flag(v, at);
    else if (key == "spinUpRequired") d.spinUpRequired = Flag(v, at);
    else if (key == "activatesAtRestart") d.activatesAtRestart = Flag(v, at);
    else if (key == "deferredDownload") d.deferredDownload = Flag(v, at);
    else if (key == "vscLevel") d.vscLevel = Sized<std::uint8_t>(v, at);
    else if (key == "familyId") d.familyId = Sized<std::uint16_t>(v, at);
    else if (key == "configId") d.configId = Sized<std::uint16_t>(v, at);
    else if (key == "revisionSet") d.revisionSet = Text(v, at);
    else if (key == "responseVersion") d.responseVersion = Sized<std::uint16_t>(v, at);
    else if (key == "descriptorAfterHeader") d.descriptorAfterHeader = Flag(v, at);
    else if (key == "latencyMs") d.latencyMs = Sized<std::uint32_t>(v, at);
    else if (key == "identifyWords") {
      for (const auto& [word, value] : Object(v, at).items()) {
        d.identifyWords[Position(word, 256, at)] = Sized<std::uint16_t>(value, at + "." + word);
      }
    } else if (key == "physParamBytes") {
      for (const auto& [offset, value] : Object(v, at).items()) {
        d.physParamBytes[Position(offset, 512, at)] = Sized<std::uint8_t>(value, at + "." + offset);
      }
    } else if (key == "faults") {
      for (std::size_t i = 0; i < Array(v, at).size(); ++i) {
        d.faults.push_back(ParseFault(v[i], at + "[" + std::to_string(i) + "]"));
      }
    }
  }
  return e;
}

}  // namespace

std::optional<MachineDescription> ParseMachine(const std::string& json,
                                               std::string& error) {
  try {
    const Json j = Json::parse(json);
    OnlyKeys(j, {"drives", "power", "windows", "controllers",
                 "driverSegmentDelayMs", "firmwareInterface", "comment"}, "machine");
    MachineDescription m;
    if (j.contains("power")) {
      OnlyKeys(j["power"], {"acLineStatus", "failCode"}, "power");
      if (j["power"].contains("acLineStatus")) {
        m.acLineStatus = Sized<std::uint8_t>(j["power"]["acLineStatus"], "power");
      }
      if (j["power"].contains("failCode")) {
        m.powerFailCode = Sized<std::uint32_t>(j["power"]["failCode"], "power");
      }
    }
    if (j.contains("windows")) {
      OnlyKeys(j["windows"], {"major", "minor", "failCode"}, "windows");
      const Json& w = j["windows"];
      if (w.contains("major")) m.windowsMajor = Sized<std::uint32_t>(w["major"], "windows");
      if (w.contains("minor")) m.windowsMinor = Sized<std::uint32_t>(w["minor"], "windows");
      if (w.contains("failCode")) m.versionFailCode = Sized<std::uint32_t>(w["failCode"], "windows");
    }
    if (j.contains("controllers")) {
      for (const auto& c : Array(j["controllers"], "controllers")) m.controllerServices.push_back(Text(c, "controllers"));
    }
    if (j.contains("driverSegmentDelayMs")) {
      m.driverSegmentDelayMs = Sized<std::uint32_t>(j["driverSegmentDelayMs"], "driverSegmentDelayMs");
    }
    if (j.contains("firmwareInterface")) {
      m.firmwareInterface = Flag(j["firmwareInterface"], "firmwareInterface");
    }
    std::set<int> numbers;
    if (j.contains("drives")) {
      for (std::size_t i = 0; i < Array(j["drives"], "drives").size(); ++i) {
        SimDriveEntry e = ParseDrive(j["drives"][i], "drives[" + std::to_string(i) + "]");
        if (!numbers.insert(e.number).second) {
          throw Invalid("drives[" + std::to_string(i) + "]: drive number used twice");
        }
        m.drives.push_back(std::move(e));
      }
    }
    return m;
  } catch (const Invalid& e) {
    error = e.what();
  } catch (const nlohmann::json::exception& e) {
    error = e.what();
  }
  return std::nullopt;
}

const char* DefaultMachineJson() {
  return R"json({
  "comment": "The demo machine.",
  "windows": {"major": 10, "minor": 0},
  "power": {"acLineStatus": 1},
  "controllers": ["storahci"],
  "driverSegmentDelayMs": 15,
  "firmwareInterface": true,
  "drives": [
    {"number": 0, "busType": 11, "comment": "level 4, qualifies (row 1)",
     "model": "VX7221-500G-A", "serial": "VX10000001", "firmware": "02.01P02",
     "wwn": "0x5A1B2C3000000A01", "vscLevel": 4,
     "revisionSet": "02.01P02 .18.3C.19P", "transferMaxBlocks": 64,
     "deferredDownload": true},
    {"number": 1, "busType": 7, "comment": "USB, level 5, qualifies (row 2)",
     "model": "VX7221-1T0-U", "serial": "VX10000002", "firmware": "02.01P02",
     "wwn": "0x5C3D4E5000000B02", "sectors": 1953525168, "vscLevel": 5,
     "revisionSet": "02.01P02 .1A.3C.1BP", "transferMaxBlocks": 128,
     "deferredDownload": true},
    {"number": 2, "busType": 11, "comment": "already updated",
     "model": "VX7221-500G-A", "serial": "VX10000003", "firmware": "02.01P03",
     "wwn": "0x5A1B2C3000000A03", "vscLevel": 4,
     "revisionSet": "02.01P02 .30.3C.31P"},
    {"number": 3, "busType": 11, "comment": "Veltrax, another configuration",
     "model": "VX6110-250G-B", "serial": "VX20000004", "firmware": "01.07P01",
     "wwn": "0x5A1B2C3000000C04", "sectors": 488397168, "vscLevel": 4,
     "configId": 2446, "revisionSet": "01.07P01 .22.1F.23P"},
    {"number": 4, "busType": 3, "comment": "not a Veltrax drive",
     "model": "OTHERDISK 2000", "serial": "OD99887766", "firmware": "CC45",
     "wwn": "0x5000CCA000000005", "sectors": 3907029168, "vscLevel": 0,
     "familyId": 0, "configId": 0},
    {"number": 5, "busType": 11, "comment": "security enabled",
     "model": "VX7221-500G-A", "serial": "VX10000006", "firmware": "02.01P02",
     "wwn": "0x5A1B2C3000000A06", "vscLevel": 4,
     "securitySupported": true, "securityEnabled": true},
    {"number": 6, "busType": 1, "comment": "SCSI bus: no transport",
     "model": "VX7221-500G-S", "serial": "VX10000007", "firmware": "02.01P02",
     "wwn": "0x5A1B2C3000000A07", "vscLevel": 4}
  ]
})json";
}

MachineDescription DefaultMachine() {
  std::string error;
  auto machine = ParseMachine(DefaultMachineJson(), error);
  if (!machine) {
    std::fprintf(stderr, "the built-in machine does not load: %s\n", error.c_str());
    std::abort();
  }
  return std::move(*machine);
}

}  // namespace sim
