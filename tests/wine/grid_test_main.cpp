#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, Loads) {
  HMODULE lib = LoadLibraryA("Latticor.dll");
  ASSERT_NE(lib, nullptr);
  FreeLibrary(lib);
}
int main(int argc, char** argv) { ::testing::InitGoogleTest(&argc, argv); return RUN_ALL_TESTS(); }
