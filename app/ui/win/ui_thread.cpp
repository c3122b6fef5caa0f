#include "app/ui/win/ui_thread.h"

namespace ui {

CWinThread::~CWinThread() {
  if (thread_ != nullptr) ::CloseHandle(thread_);
}

bool CWinThread::CreateThread(int priority) {
  queueReady_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (queueReady_ == nullptr) return false;
  // Suspended, so that the id and handle are stored before it runs.
  thread_ = ::CreateThread(nullptr, 0, Start, this, CREATE_SUSPENDED, &threadId_);
  if (thread_ == nullptr) {
    ::CloseHandle(queueReady_);
    queueReady_ = nullptr;
    return false;
  }
  ::SetThreadPriority(thread_, priority);
  const HANDLE ready = queueReady_;
  ::ResumeThread(thread_);
  ::WaitForSingleObject(ready, INFINITE);
  ::CloseHandle(ready);
  return true;
}

bool CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostThreadMessageW(threadId_, message, wParam, lParam) != FALSE;
}

int CWinThread::Run() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

DWORD WINAPI CWinThread::Start(LPVOID self) {
  auto* thread = static_cast<CWinThread*>(self);
  MSG message{};
  ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  // The creator closes the event once it has woken; the object is not
  // touched for it afterwards.
  ::SetEvent(thread->queueReady_);
  thread->queueReady_ = nullptr;
  const int code = thread->InitInstance() ? thread->Run() : 0;
  thread->ExitInstance();
  if (thread->autoDelete) delete thread;
  return static_cast<DWORD>(code);
}

}  // namespace ui
