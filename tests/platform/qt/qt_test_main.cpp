#include <gtest/gtest.h>

#include "tests/platform/qt/qt_kit_fixture.h"

std::unique_ptr<platform::WindowKit>& ApplicationKit() {
  static std::unique_ptr<platform::WindowKit> kit;
  return kit;
}

namespace {

// Ends the application object after the last test, while Qt is still whole.
class ApplicationEnd : public ::testing::Environment {
 public:
  void TearDown() override { ApplicationKit().reset(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new ApplicationEnd);
  return RUN_ALL_TESTS();
}
