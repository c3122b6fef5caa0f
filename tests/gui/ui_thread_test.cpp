// The user-interface thread: a message posted as soon as it exists is
// received, its loop ends with WM_QUIT's code, and it deletes itself.
#include "app/ui/win/ui_thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/gui/gui_support.h"

namespace gui_test {
namespace {

constexpr UINT kHello = WM_APP + 7;

std::atomic<int> hellos{0};
std::atomic<int> destroyed{0};

class Listener final : public ui::CWinThread {
 public:
  ~Listener() override { ++destroyed; }

 protected:
  bool InitInstance() override { return true; }
  int Run() override {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == kHello) ++hellos;
    }
    return static_cast<int>(message.wParam);
  }
};

TEST(UiThread, ItsQueueExistsBeforeAnyonePosts) {
  hellos = 0;
  destroyed = 0;
  auto* thread = new Listener;
  thread->autoDelete = false;
  ASSERT_TRUE(thread->CreateThread());
  EXPECT_TRUE(thread->PostThreadMessage(kHello, 0, 0));
  EXPECT_TRUE(thread->PostThreadMessage(WM_QUIT, 42, 0));
  ASSERT_EQ(::WaitForSingleObject(thread->handle(), 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(thread->handle(), &code);
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(hellos.load(), 1);
  delete thread;

  auto* own = new Listener;
  ASSERT_TRUE(own->CreateThread());
  const DWORD id = own->threadId();
  EXPECT_TRUE(::PostThreadMessageW(id, WM_QUIT, 0, 0));
  EXPECT_TRUE(WaitFor([] { return destroyed.load() == 2; }, 10000)) << "it deletes itself";
}

}  // namespace
}  // namespace gui_test
