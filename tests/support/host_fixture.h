// Base fixture of the tests: a work part in the host that the test runner has
// just reset, and on tear-down a check that what the test allocated through
// the host's memory manager is freed and that it freed nothing else.
#ifndef CARVELL_TESTS_HOST_FIXTURE_H
#define CARVELL_TESTS_HOST_FIXTURE_H

#include "host_testing.h"

#include <gtest/gtest.h>

class HostTest : public ::testing::Test {
protected:
    // The host is reset before every test by the runner (support/test_main.cpp).
    void SetUp() override {
        part_ = host_testing::make_part("work_part", inches_);
        allocations_at_start_ = host_testing::live_allocations();
        bad_frees_at_start_ = host_testing::bad_frees();
    }
    void TearDown() override {
        if (!keeps_blocks_) ExpectNoLiveBlocks();
        if (!frees_foreign_blocks_) ExpectNoBadFrees();
    }
    // Asserts that the memory manager holds no more blocks than at the start
    // and that the test freed no block it does not know. Tear-down checks the
    // same; a test may also call it at any point of its own.
    void ExpectNoLeaks() const {
        ExpectNoLiveBlocks();
        ExpectNoBadFrees();
    }
    void ExpectNoLiveBlocks() const {
        EXPECT_EQ(host_testing::live_allocations(), allocations_at_start_) << "memory-manager blocks leaked";
    }
    void ExpectNoBadFrees() const {
        EXPECT_EQ(host_testing::bad_frees(), bad_frees_at_start_) << "frees of blocks not from the memory manager";
    }

    bool inches_ = false;
    tag_t part_ = 0;
    size_t allocations_at_start_ = 0;
    size_t bad_frees_at_start_ = 0;
    // Set by a test that keeps memory-manager blocks on purpose, or that frees
    // a block the memory manager does not know, to skip that tear-down check.
    bool keeps_blocks_ = false;
    bool frees_foreign_blocks_ = false;
};

// The two units a part may have, for tables run in both: the name, whether
// inches, and one millimetre in the part's units.
struct PartUnits {
    const char* name;
    bool inches;
    double millimetre;
};
inline constexpr PartUnits kBothUnits[] = {{"millimetres", false, 1.0}, {"inches", true, 1.0 / 25.4}};

// The same in an inch part.
class InchHostTest : public HostTest {
protected:
    InchHostTest() { inches_ = true; }
};

#endif
