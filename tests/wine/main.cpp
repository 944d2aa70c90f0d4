// The Windows tests' entry: loads the control library once for all tests.
#include <gtest/gtest.h>
#include <windows.h>

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
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
  return RUN_ALL_TESTS();
}
