// The Windows tests' entry: loads the control library once for all tests,
// after entering the high-address mode when it is asked for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "high_addresses.h"

namespace {

class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    library_ = LoadLibraryA("Latticor.dll");
    ASSERT_NE(library_, nullptr) << "Latticor.dll could not be loaded";
  }
  void TearDown() override { FreeLibrary(library_); }

 private:
  HMODULE library_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  // Before the tests allocate anything of their own.
  if (high_addresses::Requested() && !high_addresses::Enter()) {
    std::fprintf(stderr, "the high-address mode could not be entered\n");
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
  return RUN_ALL_TESTS();
}
