#include <string>
#include <vector>

#include "os/constants.h"
#include "tests/os/contract_fixture.h"

namespace contract {
namespace {

using os::DWORD;
using os::FileHandle;

class FilesContract : public ContractTest {
 protected:
  std::u16string PathOf(const std::u16string& name) {
    return env().ScratchFolder() + u"\\" + name;
  }
  FileHandle Open(const std::u16string& path, DWORD access, DWORD share,
              DWORD disposition) {
    return sys().files.CreateFileW(path.c_str(), access, share, nullptr,
                                   disposition, os::kFileAttributeNormal,
                                   nullptr);
  }
  bool Valid(FileHandle h) { return h != os::InvalidHandleValue(); }
  DWORD LastError() { return sys().errors.GetLastError(); }
  void Close(FileHandle h) { EXPECT_NE(sys().files.CloseHandle(h), os::kFalse); }
  std::string ReadAll(const std::u16string& path) {
    FileHandle h = Open(path, os::kGenericRead,
                    os::kFileShareRead | os::kFileShareWrite, os::kOpenExisting);
    EXPECT_TRUE(Valid(h));
    std::string bytes(4096, '\0');
    DWORD read = 0;
    EXPECT_NE(sys().files.ReadFile(h, bytes.data(), 4096, &read, nullptr),
              os::kFalse);
    Close(h);
    bytes.resize(read);
    return bytes;
  }
};

TEST_P(FilesContract, OpenAlwaysReportsWhetherTheFileWasThere) {
  const auto path = PathOf(u"always.bin");
  FileHandle first = Open(path, os::kGenericWrite, 0, os::kOpenAlways);
  ASSERT_TRUE(Valid(first));
  EXPECT_EQ(LastError(), os::kErrorSuccess);
  Close(first);
  FileHandle second = Open(path, os::kGenericWrite, 0, os::kOpenAlways);
  ASSERT_TRUE(Valid(second));
  EXPECT_EQ(LastError(), os::kErrorAlreadyExists);
  Close(second);
}

TEST_P(FilesContract, DispositionAndPathFailures) {
  const auto existing = PathOf(u"exists.bin");
  Close(Open(existing, os::kGenericWrite, 0, os::kCreateAlways));
  struct Case {
    std::u16string path;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {existing, os::kCreateNew, os::kErrorFileExists},
      {PathOf(u"missing.bin"), os::kOpenExisting, os::kErrorFileNotFound},
      {PathOf(u"no such folder\\x.bin"), os::kOpenAlways,
       os::kErrorPathNotFound},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Valid(Open(c.path, os::kGenericWrite, 0, c.disposition)));
    EXPECT_EQ(LastError(), c.error);
  }
}

TEST_P(FilesContract, SharingDecidesWhoMayOpenASecondTime) {
  const auto path = PathOf(u"shared.bin");
  const DWORD both = os::kFileShareRead | os::kFileShareWrite;
  FileHandle writer = Open(path, os::kGenericWrite, both, os::kOpenAlways);
  ASSERT_TRUE(Valid(writer));
  FileHandle secondWriter = Open(path, os::kGenericWrite, both, os::kOpenAlways);
  EXPECT_TRUE(Valid(secondWriter));
  // A reader that will not share writing cannot join two writers.
  EXPECT_FALSE(
      Valid(Open(path, os::kGenericRead, os::kFileShareRead, os::kOpenExisting)));
  EXPECT_EQ(LastError(), os::kErrorSharingViolation);
  Close(secondWriter);
  Close(writer);

  FileHandle exclusive = Open(path, os::kGenericRead, 0, os::kOpenExisting);
  ASSERT_TRUE(Valid(exclusive));
  EXPECT_FALSE(Valid(Open(path, os::kGenericWrite, both, os::kOpenAlways)));
  EXPECT_EQ(LastError(), os::kErrorSharingViolation);
  Close(exclusive);
}

TEST_P(FilesContract, WritesLandAtThePointerAndSeekToEndAppends) {
  const auto path = PathOf(u"data.bin");
  FileHandle h = Open(path, os::kGenericWrite, 0, os::kCreateAlways);
  ASSERT_TRUE(Valid(h));
  DWORD written = 0;
  ASSERT_NE(sys().files.WriteFile(h, "hello", 5, &written, nullptr), os::kFalse);
  EXPECT_EQ(written, 5u);
  Close(h);

  h = Open(path, os::kGenericWrite, 0, os::kOpenAlways);
  std::int64_t position = -1;
  ASSERT_NE(sys().files.SetFilePointerEx(h, 0, &position, os::kFileEnd),
            os::kFalse);
  EXPECT_EQ(position, 5);
  ASSERT_NE(sys().files.WriteFile(h, " you", 4, &written, nullptr), os::kFalse);
  EXPECT_EQ(sys().files.SetFilePointerEx(h, -100, &position, os::kFileCurrent),
            os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorNegativeSeek);
  Close(h);
  EXPECT_EQ(ReadAll(path), "hello you");
}

TEST_P(FilesContract, HandlesRefuseWhatTheyWereNotOpenedFor) {
  const auto path = PathOf(u"readonly.bin");
  Close(Open(path, os::kGenericWrite, 0, os::kCreateAlways));
  FileHandle reader = Open(path, os::kGenericRead, 0, os::kOpenExisting);
  ASSERT_TRUE(Valid(reader));
  DWORD written = 0;
  EXPECT_EQ(sys().files.WriteFile(reader, "x", 1, &written, nullptr), os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorAccessDenied);
  Close(reader);
  EXPECT_EQ(sys().files.CloseHandle(reader), os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorInvalidHandle);
}

TEST_P(FilesContract, RelativeNamesStartAtTheCurrentDirectory) {
  const auto folder = env().ScratchFolder();
  ASSERT_NE(sys().files.SetCurrentDirectoryW((folder + u"\\").c_str()),
            os::kFalse);
  Close(Open(u"relative.bin", os::kGenericWrite, 0, os::kCreateNew));
  FileHandle again = Open(PathOf(u"relative.bin"), os::kGenericRead, 0,
                      os::kOpenExisting);
  EXPECT_TRUE(Valid(again));
  if (Valid(again)) Close(again);
  EXPECT_EQ(sys().files.SetCurrentDirectoryW(PathOf(u"nowhere").c_str()),
            os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorFileNotFound);
}

TEST_P(FilesContract, PathRemoveFileSpecKeepsTheRoot) {
  struct Case {
    std::u16string in;
    std::u16string out;
    os::BOOL removed;
  } cases[] = {
      {u"C:\\dir\\tool.exe", u"C:\\dir", os::kTrue},
      {u"C:\\tool.exe", u"C:\\", os::kTrue},
      {u"C:\\", u"C:\\", os::kFalse},
      {u"C:\\dir\\", u"C:\\dir", os::kTrue},
      {u"tool.exe", u"", os::kTrue},
      {u"\\\\server\\share\\tool.exe", u"\\\\server\\share", os::kTrue},
  };
  for (const auto& c : cases) {
    std::u16string buffer = c.in;
    EXPECT_EQ(sys().files.PathRemoveFileSpecW(buffer.data()), c.removed)
        << std::string(c.in.begin(), c.in.end());
    EXPECT_EQ(std::u16string(buffer.c_str()), c.out);
  }
}

TEST_P(FilesContract, ModulePathIsCutToAShortBuffer) {
  char16_t full[os::kMaxPath] = {};
  const DWORD length =
      sys().files.GetModuleFileNameW(nullptr, full, os::kMaxPath);
  ASSERT_GT(length, 5u);
  EXPECT_EQ(std::u16string(full).size(), length);
  const std::u16string name = env().ProgramName();
  ASSERT_GT(length, name.size());
  EXPECT_EQ(std::u16string(full).substr(length - name.size()), name);

  char16_t cut[5] = {u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(sys().files.GetModuleFileNameW(nullptr, cut, 5), 5u);
  EXPECT_EQ(LastError(), os::kErrorInsufficientBuffer);
  EXPECT_EQ(std::u16string(cut, 4), std::u16string(full, 4));
  // Windows since Vista ends the cut path with a NUL; XP and Wine fill the
  // whole buffer without one, so callers must not count on it.
  EXPECT_TRUE(cut[4] == u'\0' || cut[4] == full[4]);
}

TEST_P(FilesContract, CopyOverwritesOnlyWhenAskedAndDeleteRemoves) {
  const auto source = PathOf(u"source.bin");
  const auto target = PathOf(u"target.bin");
  FileHandle h = Open(source, os::kGenericWrite, 0, os::kCreateAlways);
  DWORD written = 0;
  sys().files.WriteFile(h, "new", 3, &written, nullptr);
  Close(h);
  h = Open(target, os::kGenericWrite, 0, os::kCreateAlways);
  sys().files.WriteFile(h, "old", 3, &written, nullptr);
  Close(h);
  EXPECT_EQ(sys().files.CopyFileW(source.c_str(), target.c_str(), os::kTrue), os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorFileExists);
  EXPECT_EQ(ReadAll(target), "old");
  EXPECT_NE(sys().files.CopyFileW(source.c_str(), target.c_str(), os::kFalse), os::kFalse);
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(sys().files.CopyFileW(PathOf(u"none.bin").c_str(), target.c_str(), os::kFalse),
            os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorFileNotFound);
  EXPECT_NE(sys().files.DeleteFileW(target.c_str()), os::kFalse);
  EXPECT_EQ(sys().files.DeleteFileW(target.c_str()), os::kFalse);
  EXPECT_EQ(LastError(), os::kErrorFileNotFound);
}

// Linux has no system directory: the whole systems only.
class SystemDirectoryContract : public ContractTest {};

TEST_P(SystemDirectoryContract, ComesWithTheSizeItNeeds) {
  char16_t buffer[os::kMaxPath] = {};
  const os::UINT length = sys().files.GetSystemDirectoryW(buffer, os::kMaxPath);
  ASSERT_GT(length, 3u);
  EXPECT_EQ(std::u16string(buffer).size(), length);
  EXPECT_NE(buffer[length - 1], u'\\');
  EXPECT_GT(sys().files.GetSystemDirectoryW(buffer, 2), 2u);
}

VX_CONTRACT_FOR_FILE_AND_TEXT_SYSTEMS(FilesContract);
VX_CONTRACT_FOR_WHOLE_SYSTEMS(SystemDirectoryContract);

}  // namespace
}  // namespace contract
