// Windows' own firmware interface as the simulated AHCI stack offers it:
// the blocks at their documented offsets, the driver's checks and codes,
// and the staged image of a deferred download.
#include <gtest/gtest.h>

#include <cstring>

#include "os/constants.h"
#include "os/ioctl.h"
#include "sim/firmware_image.h"
#include "tests/sim/sim_fixture.h"

namespace sim {
namespace {

using test_support::DriveEntry;
using test_support::SimSystem;

constexpr os::DWORD kGetInfo = 0x002D1C00;
constexpr os::DWORD kDownload = 0x002DDC04;
constexpr os::DWORD kActivate = 0x002DDC08;

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  std::memcpy(&b[at], &v, 4);
}
void Put64(std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v) {
  std::memcpy(&b[at], &v, 8);
}
std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, &b[at], 4);
  return v;
}

std::vector<std::uint8_t> DownloadBlock(const std::vector<std::uint8_t>& image,
                                        std::uint64_t offset, std::uint64_t size) {
  std::vector<std::uint8_t> b(std::max<std::uint64_t>(40, 32 + size), 0);
  Put32(b, 0, 40);
  Put32(b, 4, static_cast<std::uint32_t>(32 + size));
  Put64(b, 16, offset);
  Put64(b, 24, size);
  for (std::uint64_t i = 0; i < size && offset + i < image.size(); ++i) b[32 + i] = image[offset + i];
  return b;
}

std::vector<std::uint8_t> ActivateBlock() {
  std::vector<std::uint8_t> b(16, 0);
  Put32(b, 0, 16);
  Put32(b, 4, 16);
  return b;
}

MachineDescription Machine(bool firmwareInterface, DriveDescription drive) {
  MachineDescription m;
  m.firmwareInterface = firmwareInterface;
  m.drives = {DriveEntry(0, os::kBusTypeSata, std::move(drive))};
  return m;
}

// The demo image is 193 blocks: only an alignment of one block takes it.
DriveDescription Deferred(std::uint16_t minBlocks = 1) {
  DriveDescription d;
  d.deferredDownload = true;
  d.transferMinBlocks = minBlocks;
  d.transferMaxBlocks = 16;
  return d;
}

class FirmwarePort : public ::testing::Test {
 protected:
  void Start(bool firmwareInterface, DriveDescription drive) {
    sim_ = std::make_unique<SimSystem>(Machine(firmwareInterface, std::move(drive)));
    handle_ = sim_->OpenDrive(0);
  }
  // The call's result: 0 for success, else its error.
  os::DWORD Call(os::DWORD code, std::vector<std::uint8_t> in, std::vector<std::uint8_t>* out = nullptr) {
    std::vector<std::uint8_t> scratch(in.size());
    std::vector<std::uint8_t>& reply = out != nullptr ? *out : scratch;
    os::DWORD returned = 0;
    if (sim_->machine().DeviceIoControl(handle_, code, in.data(), static_cast<os::DWORD>(in.size()),
                                        reply.data(), static_cast<os::DWORD>(reply.size()),
                                        &returned, nullptr)) {
      reply.resize(returned);
      return 0;
    }
    return sim_->fake().errors.GetLastError();
  }
  std::vector<std::uint8_t> Info() {
    std::vector<std::uint8_t> query(16, 0);
    Put32(query, 0, 16);
    Put32(query, 4, 16);
    std::vector<std::uint8_t> answer(24 + 32 * 4, 0xEE);
    EXPECT_EQ(Call(kGetInfo, query, &answer), 0u);
    return answer;
  }
  // Segments of `segment` bytes, in order from `from`; the first failing
  // call's error.
  os::DWORD DownloadAll(const std::vector<std::uint8_t>& image, std::uint32_t segment,
                        std::uint64_t from = 0) {
    for (std::uint64_t at = from; at < image.size(); at += segment) {
      const std::uint64_t size = std::min<std::uint64_t>(segment, image.size() - at);
      if (const os::DWORD e = Call(kDownload, DownloadBlock(image, at, size))) return e;
    }
    return 0;
  }
  AtaDevice& device() { return sim_->machine().Drive(0)->device(); }

  std::unique_ptr<SimSystem> sim_;
  os::DeviceHandle handle_ = nullptr;
};

TEST_F(FirmwarePort, GetInfoAnswersFromTheDrivesIdentifyWords) {
  Start(true, Deferred(2));
  const std::vector<std::uint8_t> info = Info();
  ASSERT_EQ(info.size(), 56u);
  EXPECT_EQ(Get32(info, 0), 56u);
  EXPECT_EQ(info[8] & 1, 1);      // SupportUpgrade
  EXPECT_EQ(info[9], 1);          // SlotCount
  EXPECT_EQ(info[10], 0);         // ActiveSlot
  EXPECT_EQ(info[11], 0xFF);      // PendingActivateSlot: none
  EXPECT_EQ(Get32(info, 16), 1024u);     // word 234: 2 blocks
  EXPECT_EQ(Get32(info, 20), 16u * 512);  // word 235
  EXPECT_EQ(Get32(info, 24), 32u);        // the slot's Version
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&info[24 + 16]), 8), "02.01P02");

  DriveDescription old;
  Start(true, old);
  EXPECT_EQ(Info()[8] & 1, 0);
}

TEST_F(FirmwarePort, WithoutTheInterfaceEveryCodeIsAnInvalidFunction) {
  Start(false, Deferred());
  for (const os::DWORD code : {kGetInfo, kDownload, kActivate}) {
    EXPECT_EQ(Call(code, std::vector<std::uint8_t>(64, 0)), os::kErrorInvalidFunction) << code;
  }
}

TEST_F(FirmwarePort, TheDriverRefusesWhatItMustNotSend) {
  const std::vector<std::uint8_t> image = BuildDemoImage();
  auto wrongVersion = DownloadBlock(image, 0, 1024);
  Put32(wrongVersion, 0, 36);
  auto sizeBeyondBlock = DownloadBlock(image, 0, 1024);
  Put64(sizeBeyondBlock, 24, 2048);
  struct Case {
    const char* name;
    bool deferred;
    std::vector<std::uint8_t> block;
    os::DWORD error;
  } cases[] = {
      {"empty segment", true, DownloadBlock(image, 0, 0), os::kErrorInvalidParameter},
      {"not a multiple of the alignment", true, DownloadBlock(image, 0, 1536),
       os::kErrorInvalidParameter},
      {"larger than the largest segment", true, DownloadBlock(image, 0, 17 * 512),
       os::kErrorInvalidParameter},
      {"wrong version", true, wrongVersion, os::kErrorInvalidParameter},
      {"buffer size beyond the block", true, sizeBeyondBlock, os::kErrorInvalidParameter},
      {"short block", true, std::vector<std::uint8_t>(20, 0), os::kErrorInvalidParameter},
      {"drive without deferred download", false, DownloadBlock(image, 0, 1024),
       os::kErrorNotSupported},
      {"offset that does not follow on", true, DownloadBlock(image, 2048, 1024),
       os::kErrorIoDevice},
  };
  for (const Case& c : cases) {
    DriveDescription d = Deferred(2);
    d.deferredDownload = c.deferred;
    Start(true, d);
    EXPECT_EQ(Call(kDownload, c.block), c.error) << c.name;
    EXPECT_EQ(device().staged(), StagedImage::None) << c.name;
  }
}

TEST_F(FirmwarePort, AWholeImageIsSavedAndRunsAtActivation) {
  Start(true, Deferred());
  const std::vector<std::uint8_t> image = BuildDemoImage();
  ASSERT_EQ(Call(kDownload, DownloadBlock(image, 0, 8192)), 0u);
  EXPECT_EQ(device().staged(), StagedImage::Partial);
  ASSERT_EQ(DownloadAll(image, 8192, 8192), 0u);
  EXPECT_EQ(device().staged(), StagedImage::Saved);
  EXPECT_EQ(Info()[11], 0);  // pending activation in slot 0
  EXPECT_EQ(device().firmware(), "02.01P02");
  ASSERT_EQ(Call(kActivate, ActivateBlock()), 0u);
  EXPECT_EQ(device().staged(), StagedImage::Active);
  EXPECT_EQ(device().firmware(), "02.01P03");
  EXPECT_EQ(Call(kActivate, ActivateBlock()), os::kErrorIoDevice);  // nothing saved any more
}

TEST_F(FirmwarePort, APowerCycleRunsASavedImageAndLosesAPartialOne) {
  const std::vector<std::uint8_t> image = BuildDemoImage();
  Start(true, Deferred());
  ASSERT_EQ(DownloadAll(image, 8192), 0u);
  sim_->machine().PowerCycle();
  EXPECT_EQ(device().staged(), StagedImage::Active);
  EXPECT_EQ(device().firmware(), "02.01P03");

  Start(true, Deferred());
  ASSERT_EQ(Call(kDownload, DownloadBlock(image, 0, 8192)), 0u);
  sim_->machine().PowerCycle();
  EXPECT_EQ(device().staged(), StagedImage::None);
  EXPECT_EQ(device().firmware(), "02.01P02");
}

TEST_F(FirmwarePort, AForeignImageIsNotSaved) {
  FirmwareImageHeader header;
  header.familyId = 1;
  header.configId = 2;
  header.firmwareRevision = "09.99X99";
  const std::vector<std::uint8_t> foreign = BuildFirmwareImage(header, std::vector<std::uint8_t>(4000, 7));
  Start(true, Deferred());
  EXPECT_EQ(DownloadAll(foreign, 4096), os::kErrorIoDevice);
  EXPECT_EQ(device().staged(), StagedImage::None);
  EXPECT_EQ(Call(kActivate, ActivateBlock()), os::kErrorIoDevice);
}

TEST_F(FirmwarePort, FaultsStrikeTheirOwnCall) {
  struct Case {
    const char* on;
    Fault fault;
    os::DWORD downloadError;
    os::DWORD activateError;
  } cases[] = {
      {"download fails with the armed code", {"firmware-download", 1167u}, 1167u, os::kErrorIoDevice},
      {"the drive refuses the download", {"firmware-download", std::nullopt, 0x51, 0x04},
       os::kErrorIoDevice, os::kErrorIoDevice},
      {"the drive refuses the activation", {"firmware-activate", std::nullopt, 0x51, 0x04}, 0,
       os::kErrorIoDevice},
  };
  const std::vector<std::uint8_t> image = BuildDemoImage();
  for (const Case& c : cases) {
    DriveDescription d = Deferred();
    d.faults = {c.fault};
    d.faults[0].times = 1;
    Start(true, d);
    EXPECT_EQ(DownloadAll(image, 8192), c.downloadError) << c.on;
    EXPECT_EQ(Call(kActivate, ActivateBlock()), c.activateError) << c.on;
    EXPECT_EQ(device().firmware(), "02.01P02") << c.on;
  }
}

}  // namespace
}  // namespace sim
