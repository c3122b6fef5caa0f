// A user-interface thread: its message queue exists before CreateThread
// returns, so a message posted to it right away is never lost; then
// InitInstance, and when that returns true its message loop until
// WM_QUIT, whose code is the thread's exit code; then ExitInstance. With
// autoDelete the object deletes itself when the thread ends, as the
// framework's threads do.
#pragma once

#include <windows.h>

namespace ui {

class CWinThread {
 public:
  CWinThread() = default;
  virtual ~CWinThread();
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  // False when the thread could not be started.
  bool CreateThread(int priority = THREAD_PRIORITY_NORMAL);
  DWORD threadId() const { return threadId_; }
  HANDLE handle() const { return thread_; }
  bool PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

  bool autoDelete = true;

 protected:
  virtual bool InitInstance() = 0;
  // The message loop; the quit message's code.
  virtual int Run();
  virtual void ExitInstance() {}

 private:
  static DWORD WINAPI Start(LPVOID self);

  HANDLE thread_ = nullptr;
  HANDLE queueReady_ = nullptr;
  DWORD threadId_ = 0;
};

}  // namespace ui
