// SPDX-License-Identifier: MIT
// A suite whose set-up fails, for the check that such a failure fails the
// run rather than skipping its tests.
#include <gtest/gtest.h>

namespace {

class FailingSetUp : public testing::Test {
  protected:
    static void SetUpTestSuite() { FAIL() << "set-up failed on purpose"; }
};

TEST_F(FailingSetUp, WouldPass) {}

}  // namespace
