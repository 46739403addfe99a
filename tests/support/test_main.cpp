// Test entry point: the stand-in host starts every test from a clean state,
// reset once before the test (its fixture, if any, is made after).
#include "host_testing.h"

#include <gtest/gtest.h>

namespace {
class ResetHost : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { host_testing::reset(); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetHost);
    return RUN_ALL_TESTS();
}
