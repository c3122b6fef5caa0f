#include "base/log.h"

#include <atomic>
#include <bit>
#include <memory>
#include <new>

#include "base/file.h"
#include "os/constants.h"
#include "os/system.h"

namespace base {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the log's UTF-16LE bytes are written straight from memory");

constexpr std::uint32_t kLogOpenFlags = CFile::modeWrite |
                                        CFile::shareDenyNone |
                                        CFile::modeCreate |
                                        CFile::modeNoTruncate |
                                        CFile::osWriteThrough;
static_assert(kLogOpenFlags == 0x23041);

// The process-wide holder of the log. Installed before any other thread
// exists and removed after all have ended, so readers take no reference.
struct LogFile {
  std::unique_ptr<CFile> file;
  std::atomic<std::int32_t> refs{0};
};

std::atomic<LogFile*> logFile{nullptr};

void Release(LogFile* holder) {
  if (holder->refs.fetch_sub(1) - 1 <= 0) delete holder;
}

// Closes the log when the process's statics are destroyed.
struct LogCloser {
  ~LogCloser() { CloseLog(); }
} closer;

}  // namespace

void OpenLog(os::HMODULE module) {
  if (IsLogOpen()) return;
  try {
    auto& files = os::Sys().files;
    char16_t folder[os::kMaxPath] = {};
    // A path that fills the buffer was cut and may lack its NUL: no log
    // rather than a folder that is not ours.
    const os::DWORD length =
        files.GetModuleFileNameW(module, folder, os::kMaxPath);
    if (length == 0 || length >= os::kMaxPath) return;
    if (files.PathRemoveFileSpecW(folder) != os::kTrue) return;
    const std::u16string base(folder);
    files.SetCurrentDirectoryW((base + u"\\").c_str());

    auto file = std::make_unique<CFile>();
    if (file->Open(base + u"\\" + kLogFileName, kLogOpenFlags)) {
      file->SeekToEnd();
    }
    if (LogFile* old = logFile.exchange(nullptr)) Release(old);
    auto* holder = new LogFile{std::move(file)};
    holder->refs.fetch_add(1);
    logFile.store(holder);
  } catch (const std::bad_alloc&) {
    // Out of memory: the system runs with whatever log it has.
  }
}

bool IsLogOpen() {
  const LogFile* holder = logFile.load();
  return holder != nullptr && holder->file != nullptr;
}

void WriteLogText(std::u16string line) {
  LogFile* holder = logFile.load();
  if (holder == nullptr) return;
  line += u"\r\n";
  if (holder->file->IsOpen()) {
    holder->file->Write(line.data(),
                        static_cast<os::DWORD>(line.size() * sizeof(char16_t)));
  }
  os::Sys().debug.OutputDebugStringW(line.c_str());
}

std::u16string FormatErrorInfo(const ErrorInfo& info) {
  return Format(
      u"\r\nError Info :\r\nFile      = %s\r\nLine      = %d\r\nFunction  = "
      u"%s\r\nErrorCode = 0x%x",
      info.file, info.line, info.function, info.code);
}

void CloseLog() {
  if (LogFile* holder = logFile.exchange(nullptr)) Release(holder);
}

}  // namespace base
