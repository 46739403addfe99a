// Test entry point: the stand-in host starts every test from a clean state.
#include "host_testing.h"

#include <gtest/gtest.h>

namespace {
class ResetHost : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { host_testing::reset(); }
    void OnTestEnd(const ::testing::TestInfo&) override { host_testing::reset(); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetHost);
    return RUN_ALL_TESTS();
}
