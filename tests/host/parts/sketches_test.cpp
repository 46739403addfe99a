// Sketches of the stand-in host: the sketch a curve belongs to, a sketch's
// placement and member curves; with them the curve range and evaluation
// calls, the orientation's transformation and the located severe error.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class SketchTest : public HostTest {};

// Origin (5, 6, 7), x along absolute y, y along absolute z, z along absolute x.
const double kOrigin[3] = {5, 6, 7};
const double kAxes[9] = {0, 1, 0, 0, 0, 1, 1, 0, 0};

TEST_F(SketchTest, ASketchKnowsItsPlacementAndItsLiveMembers) {
    const tag_t a = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t b = host_testing::make_line({0, 0, 0}, {0, 1, 0});
    const tag_t loose = host_testing::make_line({0, 0, 0}, {0, 0, 1});
    const tag_t sketch = host_testing::add_sketch("SKETCH_004", kOrigin, kAxes, {a, b});

    tag_t owner = 99;
    ASSERT_EQ(SKET_ask_sketch_of_member(b, &owner), 0);
    EXPECT_EQ(owner, sketch);
    ASSERT_EQ(SKET_ask_sketch_of_member(loose, &owner), 0);
    EXPECT_EQ(owner, 0u);
    EXPECT_EQ(SKET_ask_sketch_of_member(0, &owner), HM_ERR_INVALID_TAG);

    HM_SKET_info_t info;
    ASSERT_EQ(HM_SKET_ask_sketch_info(sketch, &info), 0);
    EXPECT_STREQ(info.name, "SKETCH_004");
    for (int i = 0; i < 9; ++i) EXPECT_EQ(info.orientation[i], kAxes[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(info.origin[i], kOrigin[i]);

    ASSERT_EQ(HM_OBJ_delete_object(a), 0);
    int n = 0;
    tag_t* geoms = nullptr;
    ASSERT_EQ(HM_SKET_ask_geoms_of_sketch(sketch, &n, &geoms), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(geoms[0], b);
    SM_free(geoms);
}

TEST_F(SketchTest, SketchQueriesRefuseWhatIsNoSketch) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t feature = host_testing::add_feature("EXTRUDE", 0, {line});
    HM_SKET_info_t info;
    int n = 5;
    tag_t* geoms = nullptr;
    for (tag_t t : {tag_t{0}, line, feature}) {
        SCOPED_TRACE(t);
        EXPECT_NE(HM_SKET_ask_sketch_info(t, &info), 0);
        EXPECT_NE(HM_SKET_ask_geoms_of_sketch(t, &n, &geoms), 0);
        EXPECT_EQ(n, 0);
        EXPECT_EQ(geoms, nullptr);
    }
    EXPECT_EQ(HM_SKET_ask_sketch_info(feature, &info), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_SKET_ask_sketch_info(line, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(SketchTest, CurvesAnswerTheirRangeAndPointsWithDerivatives) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 2.0, 0.0, 2.0 * M_PI);
    double range[2];
    int periodic = -1;
    ASSERT_EQ(HM_CURVE_ask_parameterization(line, range, &periodic), 0);
    EXPECT_EQ(range[0], 0.0);
    EXPECT_EQ(range[1], 1.0);
    EXPECT_EQ(periodic, 0);
    ASSERT_EQ(HM_CURVE_ask_parameterization(circle, range, &periodic), 0);
    EXPECT_EQ(periodic, 1);

    // Point and first derivative (with respect to the normalised parameter:
    // the line's length) at 0.3.
    double results[6];
    ASSERT_EQ(HM_CURVE_evaluate_curve(line, 0.3, 1, results), 0);
    const double expected[6] = {3, 0, 0, 10, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(results[i], expected[i], 1e-9);
    EXPECT_EQ(HM_CURVE_evaluate_curve(0, 0.3, 0, results), HM_ERR_INVALID_TAG);
}

TEST_F(SketchTest, TheOrientationsTransformCarriesAbsoluteAxesOntoItsRows) {
    double m[12];
    ASSERT_EQ(hm5940(kAxes, m), 0);
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(m[4 * k + axis], kAxes[3 * axis + k]);
    }
    for (int k = 0; k < 3; ++k) EXPECT_EQ(m[4 * k + 3], 0.0);
    EXPECT_EQ(hm5940(nullptr, m), HM_ERR_NULL_POINTER);
}

TEST_F(SketchTest, ALocatedSevereErrorNamesItsSourceLineAndCode) {
    host_testing::clear_sinks();
    ERROR_severe("vd_evt_util", 641, 3509, "Failed to set UNDO mark");
    ASSERT_FALSE(host_testing::syslog().empty());
    const std::string& line = host_testing::syslog().back();
    EXPECT_NE(line.find("vd_evt_util"), std::string::npos);
    EXPECT_NE(line.find("641"), std::string::npos);
    EXPECT_NE(line.find("3509"), std::string::npos);
    EXPECT_NE(line.find("Failed to set UNDO mark"), std::string::npos);
}

}  // namespace
