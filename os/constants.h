// Our own copies of the Win32 constants the system uses. The Win32 binding
// checks every one of them against the SDK headers, so a wrong value fails
// to build (os/win32/constants_check.cpp).
#pragma once

#include <cstdint>

#include "os/types.h"

namespace os {

// Error codes (winerror.h).
constexpr DWORD kErrorSuccess = 0;
constexpr DWORD kErrorInvalidFunction = 1;
constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorPathNotFound = 3;
constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorNotEnoughMemory = 8;
constexpr DWORD kErrorNotSupported = 50;
constexpr DWORD kErrorFileExists = 80;
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorInsufficientBuffer = 122;
constexpr DWORD kErrorGenFailure = 31;
constexpr DWORD kErrorSharingViolation = 32;
constexpr DWORD kErrorNegativeSeek = 131;
constexpr DWORD kErrorAlreadyExists = 183;
constexpr DWORD kErrorNoUnicodeTranslation = 1113;
constexpr DWORD kErrorIoDevice = 1117;
constexpr DWORD kErrorProcNotFound = 127;
constexpr DWORD kErrorCallNotImplemented = 120;
constexpr DWORD kErrorInvalidData = 13;
constexpr DWORD kErrorFileTooLarge = 223;
constexpr DWORD kErrorModNotFound = 126;
constexpr DWORD kErrorResourceNameNotFound = 1814;

// DuplicateHandle options; object attributes; symbolic-link access.
constexpr DWORD kDuplicateSameAccess = 0x2;
constexpr std::uint32_t kObjCaseInsensitive = 0x40;
constexpr DWORD kSymbolicLinkQuery = 0x1;
// OBJECT_ATTRIBUTES.Length: the structure's 32-bit size.
constexpr std::uint32_t kObjectAttributesSize = 24;

// NTSTATUS values.
constexpr std::int32_t kStatusSuccess = 0;
constexpr std::int32_t kStatusInvalidHandle = static_cast<std::int32_t>(0xC0000008);
constexpr std::int32_t kStatusBufferTooSmall = static_cast<std::int32_t>(0xC0000023);
constexpr std::int32_t kStatusObjectNameNotFound = static_cast<std::int32_t>(0xC0000034);

// Services.
constexpr DWORD kErrorServiceAlreadyRunning = 1056;
constexpr DWORD kErrorServiceDoesNotExist = 1060;
constexpr DWORD kErrorServiceNotActive = 1062;
constexpr DWORD kErrorServiceMarkedForDelete = 1072;
constexpr DWORD kErrorServiceExists = 1073;
constexpr DWORD kErrorDuplicateServiceName = 1078;
constexpr DWORD kScManagerCreateService = 0x2;
constexpr DWORD kServiceAllAccess = 0xF01FF;
constexpr DWORD kServiceKernelDriver = 0x1;
constexpr DWORD kServiceDemandStart = 0x3;
constexpr DWORD kServiceErrorNormal = 0x1;
constexpr DWORD kServiceControlStop = 0x1;
constexpr DWORD kServiceStopped = 0x1;
constexpr DWORD kServiceRunning = 0x4;

// Registry.
constexpr std::int32_t kRegNone = 0;
constexpr DWORD kRegSz = 1;
constexpr DWORD kRegBinary = 3;
constexpr DWORD kRegDword = 4;
constexpr DWORD kRegMultiSz = 7;
constexpr DWORD kKeyRead = 0x20019;
constexpr DWORD kKeyWrite = 0x20006;
constexpr DWORD kKeyAllAccess = 0xF003F;
constexpr DWORD kRegOptionNonVolatile = 0;
constexpr DWORD kRegCreatedNewKey = 1;
constexpr DWORD kRegOpenedExistingKey = 2;
constexpr DWORD kErrorMoreData = 234;
constexpr DWORD kErrorNoMoreItems = 259;

// Power and restart.
constexpr DWORD kTokenAdjustPrivileges = 0x20;
constexpr DWORD kTokenQuery = 0x8;
constexpr DWORD kSePrivilegeEnabled = 0x2;
constexpr DWORD kErrorNotAllAssigned = 1300;
constexpr UINT kEwxReboot = 0x2;
constexpr UINT kEwxForce = 0x4;
constexpr DWORD kShutdownReasonPlannedHardwareDisk = 0x80010007u;

// Window messages: the first private one.
constexpr UINT kWmUser = 0x0400;

// Message boxes.
constexpr UINT kMbOk = 0x0;
constexpr UINT kMbYesNo = 0x4;
constexpr UINT kMbIconError = 0x10;
constexpr UINT kMbIconExclamation = 0x30;
constexpr UINT kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// SetupAPI.
constexpr DWORD kDigcfPresent = 0x2;
constexpr DWORD kSpdrpService = 0x4;

// OSVERSIONINFOW's size.
constexpr DWORD kOsVersionInfoSize = 276;

// CreateFileW access rights, sharing, dispositions and flags.
constexpr DWORD kGenericRead = 0x80000000u;
constexpr DWORD kGenericWrite = 0x40000000u;
constexpr DWORD kFileShareRead = 0x1;
constexpr DWORD kFileShareWrite = 0x2;
constexpr DWORD kCreateNew = 1;
constexpr DWORD kCreateAlways = 2;
constexpr DWORD kOpenExisting = 3;
constexpr DWORD kOpenAlways = 4;
constexpr DWORD kTruncateExisting = 5;
constexpr DWORD kFileAttributeNormal = 0x80;
constexpr DWORD kFileFlagWriteThrough = 0x80000000u;

// SetFilePointerEx move methods.
constexpr DWORD kFileBegin = 0;
constexpr DWORD kFileCurrent = 1;
constexpr DWORD kFileEnd = 2;

// Code pages and conversion flags.
constexpr UINT kCpAcp = 0;
constexpr UINT kCpThreadAcp = 3;

// MAX_PATH: the module path buffers are this many UTF-16 units.
constexpr DWORD kMaxPath = 260;

}  // namespace os
