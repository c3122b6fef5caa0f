#include "app/ui/pages/rtf_resource.h"

#include <richedit.h>

#include "app/ui/resource.h"

namespace ui {

void LoadRtfResource(base::CMemFile& buffer, UINT id) {
  const HMODULE module = ::GetModuleHandleW(nullptr);
  if (module == nullptr) return;
  const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(RT_VLXFM_RTF));
  if (found == nullptr) return;
  const HGLOBAL loaded = ::LoadResource(module, found);
  if (loaded == nullptr) return;
  const DWORD size = ::SizeofResource(module, found);
  const void* bytes = ::LockResource(loaded);
  if (bytes == nullptr) return;
  buffer.Write(bytes, size);
  buffer.SeekToBegin();
}

void StreamRtfIn(HWND richEdit, EDITSTREAMCALLBACK callback) {
  EDITSTREAM stream{};
  stream.dwCookie = 0;
  stream.dwError = 0;
  stream.pfnCallback = callback;
  ::SendMessageW(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

DWORD ReadForStream(base::CMemFile& buffer, LPBYTE destination, LONG count, LONG* delivered) {
  const std::uint32_t wanted = count < 0 ? 0 : static_cast<std::uint32_t>(count);
  *delivered = static_cast<LONG>(buffer.Read(destination, wanted));
  return 0;
}

}  // namespace ui
