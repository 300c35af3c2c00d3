// Test entry: every test process runs in a private home (support/private_home.h).
#include <gtest/gtest.h>

#include "support/private_home.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new TPrivateHome);
  return RUN_ALL_TESTS();
}
