// The Windows test executables are Unicode programs (-municode): their
// entry point is wmain.
#include <gtest/gtest.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  // Unbuffered: a case that hangs still shows what it got to.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
