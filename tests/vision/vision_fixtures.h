// Shared set-ups of the vision tests: an eyellipse instance with known data.
#ifndef CARVELL_TESTS_VISION_FIXTURES_H
#define CARVELL_TESTS_VISION_FIXTURES_H

#include "host_fixture.h"
#include "host_testing.h"
#include "test_helpers.h"

namespace vision_test {

// An eyellipse with distinct values in every attribute, so that a field read
// from the wrong attribute shows.
inline host_testing::EyellipseSpec distinct_eyellipse() {
    host_testing::EyellipseSpec s;
    s.centroids = {{{2743.0, -402.5, 1188.0}, {2743.0, -370.0, 1188.0}, {2743.0, -337.5, 1188.0}}};
    s.axis_dirs = {{{0.978, 0.0, -0.208}, {0.0, 1.0, 0.0}, {0.208, 0.0, 0.978}}};
    s.lengths = {173.0, 60.3, 86.0};
    s.lengths_95 = {206.4, 60.3, 93.4};
    s.lengths_99 = {287.1, 85.3, 132.1};
    s.side_value = -370.0;
    s.drive_side = 1;
    s.pivots_1 = {{{2841.0, -370.0, 1188.0}, {2841.0, 370.0, 1188.0}}};
    s.pivots_2 = {{{2851.0, -372.0, 1190.0}, {2851.0, 372.0, 1190.0}}};
    return s;
}

}  // namespace vision_test

#endif
