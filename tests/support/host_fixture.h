// Base fixture of the tests: a fresh host with a work part, and a check that
// what a test allocated through the host's memory manager is freed.
#ifndef CARVELL_TESTS_HOST_FIXTURE_H
#define CARVELL_TESTS_HOST_FIXTURE_H

#include "host_testing.h"

#include <gtest/gtest.h>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_testing::reset();
        part_ = host_testing::make_part("work_part", inches_);
        allocations_at_start_ = host_testing::live_allocations();
    }
    // Asserts that the memory manager holds no more blocks than at the start.
    void ExpectNoLeaks() const {
        EXPECT_EQ(host_testing::live_allocations(), allocations_at_start_) << "memory-manager blocks leaked";
        EXPECT_EQ(host_testing::bad_frees(), 0u) << "frees of blocks not from the memory manager";
    }

    bool inches_ = false;
    tag_t part_ = 0;
    size_t allocations_at_start_ = 0;
};

// The same in an inch part.
class InchHostTest : public HostTest {
protected:
    InchHostTest() { inches_ = true; }
};

#endif
