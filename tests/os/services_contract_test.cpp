// The service control manager: the fake's database against Wine's.
#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

class ServicesContract : public ContractTest {};

TEST_P(ServicesContract, ADriverServiceFromCreationToDeletion) {
  auto& services = sys().services;
  const os::SC_HANDLE manager =
      services.OpenSCManagerW(nullptr, nullptr, os::kScManagerCreateService);
  ASSERT_NE(manager, nullptr);
  const std::u16string binary = env().ScratchFolder() + u"\\missing.sys";
  constexpr char16_t kName[] = u"VxContractDriver";
  const os::SC_HANDLE service = services.CreateServiceW(
      manager, kName, u"Contract test driver", os::kServiceAllAccess,
      os::kServiceKernelDriver, os::kServiceDemandStart, os::kServiceErrorNormal,
      binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(service, nullptr) << sys().errors.GetLastError();

  EXPECT_EQ(services.CreateServiceW(manager, kName, u"again", os::kServiceAllAccess,
                                    os::kServiceKernelDriver, os::kServiceDemandStart,
                                    os::kServiceErrorNormal, binary.c_str(), nullptr, nullptr,
                                    nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorServiceExists);

  // Its binary is missing: Windows says 2, Wine 1114; both refuse.
  EXPECT_EQ(services.StartServiceW(service, 0, nullptr), os::kFalse);
  os::ServiceStatus status{};
  EXPECT_EQ(services.ControlService(service, os::kServiceControlStop, &status), os::kFalse);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorServiceNotActive);

  EXPECT_NE(services.DeleteService(service), os::kFalse);
  EXPECT_EQ(services.DeleteService(service), os::kFalse);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorServiceMarkedForDelete);
  EXPECT_NE(services.CloseServiceHandle(service), os::kFalse);
  EXPECT_EQ(services.OpenServiceW(manager, kName, os::kServiceAllAccess), nullptr);
  EXPECT_EQ(sys().errors.GetLastError(), os::kErrorServiceDoesNotExist);
  EXPECT_NE(services.CloseServiceHandle(manager), os::kFalse);
}

VX_CONTRACT_FOR_WHOLE_SYSTEMS(ServicesContract);

}  // namespace
}  // namespace contract
