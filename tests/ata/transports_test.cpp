// The two transports against a scripted device: every request block
// byte for byte, written out from the layouts, and each failure.
#include <gtest/gtest.h>

#include "ata/ata_pass_through_drive.h"
#include "ata/exception.h"
#include "ata/sat_pass_through_drive.h"
#include "os/constants.h"
#include "os/fake/fake_system.h"
#include "os/ioctl.h"

namespace tessel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Response = os::fake::ScriptedDevice::Response;
constexpr char16_t kDrive[] = u"\\\\.\\PhysicalDrive0";

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class TransportTest : public testing::Test {
 protected:
  TransportTest() : device(std::make_shared<os::fake::ScriptedDevice>()) {
    fake.devices.Add(kDrive, device);
  }
  os::DeviceHandle Open() {
    return fake.devices.CreateFileW(kDrive, os::kGenericRead | os::kGenericWrite,
                                    3, nullptr, os::kOpenExisting, 0, nullptr);
  }
  const os::fake::ScriptedDevice::Request& Request(std::size_t i) {
    return device->requests.at(i);
  }

  os::fake::ScopedFakeSystem fake;
  std::shared_ptr<os::fake::ScriptedDevice> device;
};

template <class F>
void ExpectError(std::uint32_t code, const char* message, std::int32_t detail,
                 F&& call) {
  try {
    call();
    ADD_FAILURE() << "no exception: " << message;
  } catch (const Exception& e) {
    EXPECT_EQ(e.code(), code);
    EXPECT_EQ(e.message(), message);
    EXPECT_EQ(e.detail(), detail);
  }
}

// ATA_PASS_THROUGH_EX header: Length 40, flags, ids 0, transfer length,
// timeout, reserved, data offset 40.
Bytes AtaHeader(std::uint8_t flags, std::uint32_t length, std::uint8_t seconds) {
  return {0x28, 0x00, flags, 0x00, 0, 0, 0, 0,
          static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
          static_cast<std::uint8_t>(length >> 16), 0,
          seconds, 0, 0, 0, 0, 0, 0, 0, 0x28, 0, 0, 0};
}

using AtaPassThrough = TransportTest;

TEST_F(AtaPassThrough, IdentifyIsOneBlockWithTheRegistersAndTheData) {
  Bytes reply = Cat({AtaHeader(0x03, 512, 30), Bytes(8, 0),
                     {0x00, 0x01, 0x00, 0x00, 0x00, 0xA0, 0x50, 0x00}, Bytes(512, 0x5A)});
  device->responses.push_back(Response{.output = reply});
  AtaDriveWinPassThrough drive(Open());
  Bytes buffer(512);
  drive.IdentifyDevice(buffer.data(), 512);

  ASSERT_EQ(device->requests.size(), 1u);
  EXPECT_EQ(Request(0).code, 0x4D02Cu);
  EXPECT_EQ(Request(0).input,
            Cat({AtaHeader(0x03, 512, 30), Bytes(8, 0),
                 {0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0xEC, 0x00}}));
  EXPECT_EQ(Request(0).outSize, 552u);
  EXPECT_EQ(buffer, Bytes(512, 0x5A));
  EXPECT_EQ(+drive.GetTaskfile().outStatus, 0x50);
  EXPECT_EQ(+drive.GetTaskfile().outDevice, 0xA0);
  EXPECT_EQ(+drive.GetTaskfile().outCount, 0x01);
}

TEST_F(AtaPassThrough, A48BitCommandFillsThePreviousTaskFileBothWays) {
  Bytes reply = Cat({AtaHeader(0x0B, 512, 30),
                     {0x11, 0x22, 0x33, 0x44, 0x55, 0, 0, 0},
                     {0x66, 0x77, 0x88, 0x99, 0xAA, 0x40, 0x51, 0}, Bytes(512)});
  device->responses.push_back(Response{.output = reply});
  AtaDriveWinPassThrough drive(Open());
  Bytes buffer(512);
  drive.ReadLogExt(0xF1E2, 0x30, 0xB2A1, 1, buffer.data(), 512);
  // features E2/F1, count 01/00, LBA 30 A1 00 / B2 00 00, device 40, 0x2F.
  EXPECT_EQ(Request(0).input,
            Cat({AtaHeader(0x0B, 512, 30), {0xF1, 0x00, 0x00, 0xB2, 0x00, 0, 0, 0},
                 {0xE2, 0x01, 0x30, 0xA1, 0x00, 0x40, 0x2F, 0x00}}));
  const Taskfile& t = drive.GetTaskfile();
  EXPECT_EQ(+t.outError, 0x1166);
  EXPECT_EQ(+t.outCount, 0x2277);
  EXPECT_EQ(+t.outLbaLow, 0x3388);
  EXPECT_EQ(+t.outLbaMid, 0x4499);
  EXPECT_EQ(+t.outLbaHigh, 0x55AA);
  EXPECT_EQ(+t.outStatus, 0x51);
}

TEST_F(AtaPassThrough, DataOutTravelsInTheInputAndTimeoutIsInSeconds) {
  AtaDriveWinPassThrough drive(Open());
  drive.SetTimeout(999);
  const Bytes data(512, 0xC3);
  drive.SmartWriteLog(0x80, 1, data.data(), 512);
  EXPECT_EQ(Request(0).input,
            Cat({AtaHeader(0x05, 512, 0), Bytes(8, 0),
                 {0xD6, 0x01, 0x80, 0x4F, 0xC2, 0xE0, 0xB0, 0x00}, data}));
  EXPECT_EQ(Request(0).outSize, 40u);
}

TEST_F(AtaPassThrough, DmaIsRefusedAfterTheBufferRuleAndNothingIsSent) {
  AtaDriveWinPassThrough drive(Open());
  drive.SetTimeout(5000);
  Bytes buffer(512, 0xEE);
  ExpectError(ErrorProtocolNotSupported,
              "protocol is not supported by the windows ata pass-through interface",
              0, [&] { drive.ReadDmaExt(0, 0, buffer.data(), 512); });
  EXPECT_EQ(buffer, Bytes(512, 0));
  // Only the IDENTIFY that told the sector size reached the drive.
  ASSERT_EQ(device->requests.size(), 1u);
  EXPECT_EQ(Request(0).input.at(38), 0xEC);
}

TEST_F(AtaPassThrough, AFailedCallLeavesTheRegistersOnlyInTheCallersRecord) {
  Bytes first = Cat({AtaHeader(0, 0, 30), Bytes(8, 0),
                     {0, 0, 0, 0, 0, 0, 0x50, 0}});
  Bytes second = Cat({AtaHeader(0, 0, 30), Bytes(8, 0xFF),
                      {0x04, 0x05, 0x06, 0x07, 0x08, 0, 0x51, 0}});
  device->responses = {Response{.output = first},
                       Response{.result = os::kFalse, .error = 1117, .output = second}};
  AtaDriveWinPassThrough drive(Open());
  drive.FlushCache();
  Taskfile t{};
  t.command = 0xE7;
  t.outLbaMid = 0xAB00;
  ExpectError(ErrorSystem, "DeviceIoControl returned FALSE", 1117,
              [&] { drive.ExecuteCommand(AtaProtocol::NonData, t, nullptr, 0); });
  EXPECT_EQ(+t.outStatus, 0x51);
  EXPECT_EQ(+t.outError, 0x04);
  EXPECT_EQ(+t.outLbaMid, 0xAB07);  // 28-bit: the high byte stays
  EXPECT_EQ(+drive.GetTaskfile().outStatus, 0x50);
}

TEST_F(AtaPassThrough, AShortReplyNeverReadsPastTheBlock) {
  device->responses.push_back(Response{.output = Bytes(10, 0x01), .returned = 10});
  AtaDriveWinPassThrough drive(Open());
  Bytes buffer(512, 0xEE);
  drive.IdentifyDevice(buffer.data(), 512);
  EXPECT_EQ(buffer, Bytes(512, 0));
  // The registers are read from the block as it stands: the command echoes.
  EXPECT_EQ(+drive.GetTaskfile().outStatus, 0xEC);
  EXPECT_EQ(+drive.GetTaskfile().outCount, 0x01);
}

TEST_F(AtaPassThrough, TheHandleIsClosedOnceAndAnInvalidOneNever) {
  { AtaDriveWinPassThrough drive(Open()); }
  EXPECT_EQ(fake.devices.Closes(kDrive), 1);
  { AtaDriveWinPassThrough drive(os::InvalidHandleValue()); }
  { SatDrivePassThrough drive(Open()); }
  EXPECT_EQ(fake.devices.Closes(kDrive), 2);
  EXPECT_EQ(fake.devices.OpenHandles(), 0);
}

// SCSI_PASS_THROUGH header: Length 44, status, ids, CdbLength 16, no sense,
// DataIn, transfer length, timeout, data offset, sense offset.
Bytes ScsiHeader(std::uint8_t dataIn, std::uint32_t length, std::uint8_t seconds,
                 bool data) {
  return {0x2C, 0x00, 0, 0, 0, 0, 0x10, 0x00, dataIn, 0, 0, 0,
          static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8), 0, 0,
          seconds, 0, 0, 0, static_cast<std::uint8_t>(data ? 0x2C : 0), 0, 0, 0,
          0, 0, 0, 0};
}

Bytes RegisterRequest(std::uint8_t seconds = 30) {
  return Cat({ScsiHeader(1, 22, seconds, true),
              {0x85, 0x1F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes(22, 0)});
}

// The register reply: a 44-byte header (status at 2) and the descriptor.
Response Registers(Bytes descriptor, std::uint8_t status = 0) {
  Bytes reply = Cat({ScsiHeader(1, 22, 30, true), Bytes(16, 0), descriptor});
  reply[2] = status;
  reply.resize(66, 0);
  return Response{.output = reply};
}

Bytes Descriptor(std::uint8_t error, std::uint8_t countHigh, std::uint8_t countLow,
                 std::uint8_t status) {
  return {0x09, 0x0C, 0x00, error, countHigh, countLow, 0xA1, 0xA2, 0xA3, 0xA4,
          0xA5, 0xA6, 0xE0, status};
}

using SatPassThrough = TransportTest;

TEST_F(SatPassThrough, IdentifyIsTheCommandBlockThenTheRegisterRequest) {
  device->responses = {Response{.output = Cat({ScsiHeader(1, 512, 30, true),
                                               Bytes(16, 0), Bytes(512, 0x6B)})},
                       Registers(Descriptor(0, 0x12, 0x34, 0x50))};
  SatDrivePassThrough drive(Open());
  Bytes buffer(512);
  drive.IdentifyDevice(buffer.data(), 512);

  ASSERT_EQ(device->requests.size(), 2u);
  EXPECT_EQ(Request(0).code, 0x4D004u);
  EXPECT_EQ(Request(0).input,
            Cat({ScsiHeader(1, 512, 30, true),
                 {0x85, 0x08, 0x0E, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0x00, 0xEC, 0}}));
  EXPECT_EQ(Request(0).outSize, 556u);
  EXPECT_EQ(Request(1).input, RegisterRequest());
  EXPECT_EQ(Request(1).outSize, 66u);
  EXPECT_EQ(buffer, Bytes(512, 0x6B));
  const Taskfile& t = drive.GetTaskfile();
  EXPECT_EQ(+t.outCount, 0x0034);  // the count's high byte is not taken
  EXPECT_EQ(+t.outLbaLow, 0xA1A2);
  EXPECT_EQ(+t.outLbaMid, 0xA3A4);
  EXPECT_EQ(+t.outLbaHigh, 0xA5A6);
  EXPECT_EQ(+t.outDevice, 0xE0);
  EXPECT_EQ(+t.outStatus, 0x50);
}

TEST_F(SatPassThrough, CommandBlockBytesForEachProtocolRow) {
  struct Row {
    std::uint32_t protocol;
    std::uint8_t byte1, byte2, dataIn;
    bool data;
  } rows[] = {
      {0, 0x06, 0x00, 2, false}, {1, 0x07, 0x00, 2, false}, {2, 0x08, 0x0E, 1, true},
      {3, 0x0A, 0x06, 0, true},  {4, 0x09, 0x0E, 1, true},  {5, 0x0B, 0x06, 0, true},
      {6, 0x08, 0x0E, 1, true},  {9, 0x0B, 0x06, 0, true},  {10, 0x0C, 0x0E, 1, true},
      {11, 0x0C, 0x06, 0, true}, {12, 0x0D, 0x0E, 1, true}, {13, 0x0D, 0x06, 0, true},
      {14, 0x00, 0x0E, 1, true}, {15, 0x00, 0x0E, 0, true}, {49, 0x10, 0x06, 2, false},
      {20, 0x00, 0x00, 2, false},
  };
  SatDrivePassThrough drive(Open());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.protocol);
    Bytes buffer(512, 0x33);
    device->requests.clear();
    device->responses = {Response{}, Registers(Descriptor(0, 0, 0, 0x50))};
    Taskfile t{};
    t.features = 0x0102;
    t.count = 0x0304;
    t.lba = 0x0000AABBCCDDEEFFull;
    t.device = 0x40;
    t.command = 0x25;
    drive.ExecuteCommand(static_cast<AtaProtocol>(row.protocol), t, buffer.data(), 512);
    const Bytes cdb = {0x85, row.byte1, row.byte2, 0x01, 0x02, 0x03, 0x04, 0xCC,
                       0xFF, 0xBB, 0xEE, 0xAA, 0xDD, 0x40, 0x25, 0x00};
    Bytes expected = Cat({ScsiHeader(row.dataIn, row.data ? 512 : 0, 30, row.data), cdb});
    if (row.dataIn == 0) expected = Cat({expected, Bytes(512, 0x33)});
    EXPECT_EQ(Request(0).input, expected);
    EXPECT_EQ(Request(0).outSize, row.dataIn == 1 ? 556u : 44u);
  }
}

TEST_F(SatPassThrough, AnIoDeviceErrorWithCheckConditionStillCompletes) {
  Bytes reply = Cat({ScsiHeader(2, 0, 30, false), Bytes(16, 0)});
  reply[2] = 0x02;
  device->responses = {Response{.result = os::kFalse, .error = 1117, .output = reply},
                       Registers(Descriptor(0x04, 0, 0, 0x51))};
  SatDrivePassThrough drive(Open());
  drive.FlushCache();
  EXPECT_TRUE(IsCommandFailure(drive.GetTaskfile()));
  EXPECT_EQ(+drive.GetTaskfile().outError, 0x04);
}

TEST_F(SatPassThrough, TheDescriptorMayFollowAnEightByteHeader) {
  Bytes form = {0x48, 0, 0, 0, 0, 0, 0, 0};
  const Bytes d = Descriptor(0, 0, 0x07, 0x50);
  form.insert(form.end(), d.begin(), d.end());
  device->responses = {Response{}, Registers(form)};
  SatDrivePassThrough drive(Open());
  drive.FlushCache();
  EXPECT_EQ(+drive.GetTaskfile().outCount, 0x07);
  EXPECT_EQ(+drive.GetTaskfile().outStatus, 0x50);
}

TEST_F(SatPassThrough, FailuresNameTheStepAndKeepTheLastRecord) {
  struct Case {
    std::vector<Response> script;
    const char* message;
    std::int32_t detail;
    std::size_t requests;
  };
  Bytes busy = Cat({ScsiHeader(2, 0, 30, false), Bytes(16, 0)});
  busy[2] = 0x08;
  Bytes descriptor72 = Descriptor(0, 0, 0, 0x50);
  descriptor72[0] = 0x72;
  const Case cases[] = {
      {{Response{.result = os::kFalse, .error = 5}}, "Call to DeviceIoControl() failed", 5, 1},
      {{Response{.output = busy}}, "SatDrive::ExecuteCommand(): bad SCSI status", 8, 1},
      {{Response{}, Response{.result = os::kFalse, .error = 1117}},
       "ReadTaskfile: call to DeviceIoControl() failed", 1117, 2},
      {{Response{}, Registers(Descriptor(0, 0, 0, 0x50), 0x02)},
       "ReadTaskfile returned a bad SCSI status", 2, 2},
      {{Response{}, Registers(descriptor72)},
       "ReadTaskfile SCSI system returned an unsupported sense code", 0x72, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    device->requests.clear();
    device->responses.assign(c.script.begin(), c.script.end());
    SatDrivePassThrough drive(Open());
    ExpectError(ErrorSystem, c.message, c.detail, [&] { drive.FlushCache(); });
    EXPECT_EQ(device->requests.size(), c.requests);
    EXPECT_EQ(+drive.GetTaskfile().outStatus, 0);
  }
}

}  // namespace
}  // namespace tessel
