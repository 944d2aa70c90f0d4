// The accessibility tests' entry: a single-threaded apartment, as a
// screen reader's thread has, and the control library for the tests that
// make grids in this process.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <objbase.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HMODULE library = LoadLibraryA("Latticor.dll");
  if (!library) return 1;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
