// SPDX-License-Identifier: MIT
// The main of every test program: GoogleTest's own, except that a suite
// whose set-up failed fails its tests. GoogleTest would skip them, and CTest
// would count them as skipped, which a run outside CI lets pass.
#include <gtest/gtest.h>

namespace {

class SuiteSetUpFailures : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        const testing::TestSuite* suite = testing::UnitTest::GetInstance()->current_test_suite();
        if (suite != nullptr && suite->ad_hoc_test_result().Failed()) {
            ADD_FAILURE() << "the set-up of " << suite->name() << " failed (see above)";
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new SuiteSetUpFailures);
    return RUN_ALL_TESTS();
}
