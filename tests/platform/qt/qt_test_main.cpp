#include "tests/platform/qt/qt_kit_fixture.h"

// Ends the application object after the last test, while Qt is still whole.
struct ApplicationEnd : ::testing::Environment {
  void TearDown() override { ApplicationKit().reset(); }
};

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new ApplicationEnd);
  return RUN_ALL_TESTS();
}
