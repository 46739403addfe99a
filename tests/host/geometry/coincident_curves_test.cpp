// Removal of coincident curves from a projection's output: a curve that
// runs over an earlier one of the array, in either sense and within the
// part's distance tolerance, is deleted and the array closed up; curves that
// only touch, overlap in part or run apart stay.
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"
#include "zelvadt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class CoincidentCurvesTest : public HostTest {};

TEST_F(CoincidentCurvesTest, LaterCopiesOfACurveAreDeletedAndTheArrayClosedUp) {
    // The part's distance tolerance is 0.01 mm: a copy 0.004 mm off is the
    // same curve, one 0.05 mm off is not.
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    struct Case {
        const char* what;
        std::vector<tag_t> curves;   // after the line
        std::vector<bool> kept;
    };
    const std::vector<Case> cases = {
        {"the same line", {host_testing::make_line({0, 0, 0}, {100, 0, 0})}, {false}},
        {"the line reversed", {host_testing::make_line({100, 0, 0}, {0, 0, 0})}, {false}},
        {"within the tolerance", {host_testing::make_line({0, 0.004, 0}, {100, 0.004, 0})}, {false}},
        {"beyond the tolerance", {host_testing::make_line({0, 0.05, 0}, {100, 0.05, 0})}, {true}},
        {"half of the line", {host_testing::make_line({0, 0, 0}, {50, 0, 0})}, {true}},
        {"the line and more", {host_testing::make_line({0, 0, 0}, {150, 0, 0})}, {true}},
        {"a spline over the line",
         {host_testing::make_spline({{0, 0, 0}, {30, 0, 0}, {70, 0, 0}, {100, 0, 0}})}, {false}},
        {"an arc on the line's ends", {host_testing::make_arc({50, 0, 0}, 50, 0, M_PI)}, {true}},
        {"two copies after a different curve",
         {host_testing::make_line({0, 5, 0}, {100, 5, 0}), host_testing::make_line({100, 0, 0}, {0, 0, 0}),
          host_testing::make_line({0, 5, 0}, {100, 5, 0})},
         {true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<tag_t> array = {line};
        array.insert(array.end(), c.curves.begin(), c.curves.end());
        std::vector<tag_t> expected = {line};
        for (size_t i = 0; i < c.curves.size(); ++i)
            if (c.kept[i]) expected.push_back(c.curves[i]);
        int count = static_cast<int>(array.size());
        ASSERT_EQ(SMDF_remove_coincident_curves(&count, array.data()), 0);
        EXPECT_EQ(std::vector<tag_t>(array.begin(), array.begin() + count), expected);
        for (size_t i = 0; i < c.curves.size(); ++i)
            EXPECT_EQ(HM_OBJ_ask_status(c.curves[i]) == HM_OBJ_ALIVE, c.kept[i]) << i;
        EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
        for (size_t i = 1; i < static_cast<size_t>(count); ++i) HM_OBJ_delete_object(array[i]);
    }
}

TEST_F(CoincidentCurvesTest, RefusedArraysDeleteNothing) {
    const tag_t a = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t b = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t gone = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    HM_OBJ_delete_object(gone);
    tag_t with_dead[3] = {a, b, gone};
    int count = 3;
    EXPECT_EQ(SMDF_remove_coincident_curves(&count, with_dead), HM_ERR_INVALID_TAG);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
    count = -1;
    EXPECT_EQ(SMDF_remove_coincident_curves(&count, with_dead), HM_ERR_BAD_ARGUMENT);
    count = 2;
    EXPECT_EQ(SMDF_remove_coincident_curves(&count, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(SMDF_remove_coincident_curves(nullptr, with_dead), HM_ERR_NULL_POINTER);
    count = 0;
    EXPECT_EQ(SMDF_remove_coincident_curves(&count, nullptr), 0);
    EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
}

}  // namespace
