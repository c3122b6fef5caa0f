// Every constant of os/constants.h against the SDK: a wrong value does not
// build.
#include <windows.h>

#include "os/constants.h"

#define VX_SAME(ours, sdk) static_assert((ours) == (sdk), #sdk)

VX_SAME(os::kErrorSuccess, ERROR_SUCCESS);
VX_SAME(os::kErrorFileNotFound, ERROR_FILE_NOT_FOUND);
VX_SAME(os::kErrorPathNotFound, ERROR_PATH_NOT_FOUND);
VX_SAME(os::kErrorAccessDenied, ERROR_ACCESS_DENIED);
VX_SAME(os::kErrorInvalidHandle, ERROR_INVALID_HANDLE);
VX_SAME(os::kErrorNotEnoughMemory, ERROR_NOT_ENOUGH_MEMORY);
VX_SAME(os::kErrorFileExists, ERROR_FILE_EXISTS);
VX_SAME(os::kErrorInvalidParameter, ERROR_INVALID_PARAMETER);
VX_SAME(os::kErrorInsufficientBuffer, ERROR_INSUFFICIENT_BUFFER);
VX_SAME(os::kErrorSharingViolation, ERROR_SHARING_VIOLATION);
VX_SAME(os::kErrorNegativeSeek, ERROR_NEGATIVE_SEEK);
VX_SAME(os::kErrorAlreadyExists, ERROR_ALREADY_EXISTS);
VX_SAME(os::kErrorNoUnicodeTranslation, ERROR_NO_UNICODE_TRANSLATION);
VX_SAME(os::kErrorIoDevice, ERROR_IO_DEVICE);

VX_SAME(os::kGenericRead, GENERIC_READ);
VX_SAME(os::kGenericWrite, GENERIC_WRITE);
VX_SAME(os::kFileShareRead, FILE_SHARE_READ);
VX_SAME(os::kFileShareWrite, FILE_SHARE_WRITE);
VX_SAME(os::kCreateNew, CREATE_NEW);
VX_SAME(os::kCreateAlways, CREATE_ALWAYS);
VX_SAME(os::kOpenExisting, OPEN_EXISTING);
VX_SAME(os::kOpenAlways, OPEN_ALWAYS);
VX_SAME(os::kTruncateExisting, TRUNCATE_EXISTING);
VX_SAME(os::kFileAttributeNormal, FILE_ATTRIBUTE_NORMAL);
VX_SAME(os::kFileFlagWriteThrough, FILE_FLAG_WRITE_THROUGH);

VX_SAME(os::kFileBegin, FILE_BEGIN);
VX_SAME(os::kFileCurrent, FILE_CURRENT);
VX_SAME(os::kFileEnd, FILE_END);

VX_SAME(os::kCpAcp, CP_ACP);
VX_SAME(os::kCpThreadAcp, CP_THREAD_ACP);
VX_SAME(os::kMaxPath, MAX_PATH);

static_assert(sizeof(os::DWORD) == sizeof(::DWORD));
static_assert(sizeof(os::BOOL) == sizeof(::BOOL));
static_assert(sizeof(os::HANDLE) == sizeof(::HANDLE));
