// The 2003 host's older calls of the mirror certification: the Boolean that
// subtracts in place and counts the pieces left, and the older name of the
// grid line counts of a face.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

namespace {

class OlderHostCallsTest : public HostTest {};

TEST_F(OlderHostCallsTest, SubtractionCountsThePiecesAndFailsWhenNothingIsLeft) {
    // A 30 x 10 x 10 bar less a 10-wide band across its middle: two cubes.
    const double bar_corner[3] = {0, 0, 0}, bar_size[3] = {30, 10, 10};
    const double band_corner[3] = {10, -1, -1}, band_size[3] = {10, 12, 12};
    const tag_t bar = host_testing::make_box(bar_corner, bar_size);
    const tag_t band = host_testing::make_box(band_corner, band_size);
    int bodies = -1;
    ASSERT_EQ(hm6520_(bar, band, 2, &bodies), 0);
    EXPECT_EQ(bodies, 2);
    EXPECT_NEAR(host_testing::volume(bar), 2000.0, 1e-6);
    EXPECT_NE(HM_OBJ_ask_status(band), HM_OBJ_ALIVE);
    // A cube swallowed by a larger one: nothing left, nothing changed.
    const double small_corner[3] = {0, 0, 0}, small_size[3] = {10, 10, 10};
    const double big_corner[3] = {-5, -5, -5}, big_size[3] = {20, 20, 20};
    const tag_t small = host_testing::make_box(small_corner, small_size);
    const tag_t big = host_testing::make_box(big_corner, big_size);
    EXPECT_EQ(hm6520_(small, big, 2, &bodies), HM_ERR_GEOMETRY);
    EXPECT_EQ(bodies, 0);
    EXPECT_EQ(HM_OBJ_ask_status(big), HM_OBJ_ALIVE);
    EXPECT_NEAR(host_testing::volume(small), 1000.0, 1e-6);
    // Only the subtraction is offered; bad tags and outputs are refused.
    EXPECT_EQ(hm6520_(small, big, 1, &bodies), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hm6520_(small, small, 2, &bodies), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hm6520_(small, 0, 2, &bodies), HM_ERR_INVALID_TAG);
    EXPECT_EQ(hm6520_(small, big, 2, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(OlderHostCallsTest, OlderGridCountNameSetsTheFacesCounts) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t face = support::faces_of(box)[0];
    ASSERT_EQ(hm5401_(face, 12, 6), 0);
    int u = 0, v = 0;
    ASSERT_EQ(hm5402(face, &u, &v), 0);
    EXPECT_EQ(u, 12);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(hm5401_(box, 12, 12), HM_ERR_WRONG_TYPE);
}

}  // namespace
