// Entry of every test program: wide arguments, as Windows gives them.
#include <gtest/gtest.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  // A crash must fail the test at once, never wait on an error dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
