// The tire-envelope tool's checks of its curves: sketch membership, the XY
// plane, the Y-axis crossing and start, the sketch's placement and the reach
// of its geometry, and rule-language strings.
#include "host_fixture.h"
#include "host_testing.h"
#include "quillon.h"
#include "vd_evt.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

constexpr double kTol = 1e-6;

// A sketch placed away from the absolute frame: origin (50, 20, 0), x along
// absolute y, y along absolute -x. Sketch (a, b) is absolute (50 - b, 20 + a, 0).
const double kTurnedOrigin[3] = {50, 20, 0};
const double kTurnedAxes[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
// A sketch standing upright: x along absolute x, y along absolute z, its
// plane 30 behind the absolute origin. Sketch (a, b) is absolute (a, 30, b).
const double kUprightOrigin[3] = {0, 30, 0};
const double kUprightAxes[9] = {1, 0, 0, 0, 0, 1, 0, -1, 0};

struct Placement {
    const char* name;
    const double* origin;
    const double* axes;
};

// Absolute point of sketch coordinates (a, b, 0).
Point3 at(const Placement& p, double a, double b) {
    Point3 out;
    for (int i = 0; i < 3; ++i) out[i] = p.origin[i] + a * p.axes[i] + b * p.axes[3 + i];
    return out;
}

// A line in a sketch, given by its ends in sketch coordinates.
tag_t sketch_line(const Placement& p, double a0, double b0, double a1, double b1) {
    return host_testing::make_line(at(p, a0, b0), at(p, a1, b1));
}

const Placement kTurned{"turned", kTurnedOrigin, kTurnedAxes};
const Placement kUpright{"upright", kUprightOrigin, kUprightAxes};

class EvtSketchTest : public HostTest {
protected:
    tag_t add_sketch(const Placement& p, const std::vector<tag_t>& curves) {
        return host_testing::add_sketch("SKETCH_000", p.origin, p.axes, curves);
    }
};

TEST_F(EvtSketchTest, ACurveIsFoundInTheSketchThatHoldsIt) {
    const tag_t inside = sketch_line(kTurned, 0, 0, 5, 5);
    const tag_t outside = host_testing::make_line({0, 0, 0}, {1, 1, 0});
    const tag_t sketch = add_sketch(kTurned, {inside});
    tag_t found = 99;
    EXPECT_TRUE(VD_EVT_is_curve_in_sketch(inside, &found));
    EXPECT_EQ(found, sketch);
    EXPECT_FALSE(VD_EVT_is_curve_in_sketch(outside, &found));
    EXPECT_EQ(found, 0u);
    found = 99;
    EXPECT_FALSE(VD_EVT_is_curve_in_sketch(0, &found));
    EXPECT_EQ(found, 0u);
    EXPECT_FALSE(VD_EVT_is_curve_in_sketch(inside, nullptr));
}

TEST_F(EvtSketchTest, ACurveLeavesTheXYPlaneOnlyBeyondTheTolerance) {
    struct Case {
        const char* name;
        std::vector<Point3> points;   // two: a line; more: a spline through them
        int expected;
    };
    const Case cases[] = {
        {"end 5e-11 above the plane", {{0, 0, 0}, {10, 0, 5e-11}}, 0},
        {"end 1e-9 above the plane", {{0, 0, 0}, {10, 0, 1e-9}}, -1},
        {"start below the plane", {{0, 0, -0.5}, {10, 4, 0}}, -1},
        {"ends in the plane, middle above it", {{0, 0, 0}, {5, 0, 3}, {10, 0, 0}}, -1},
        {"a spline lying in the plane", {{0, 0, 0}, {5, 4, 0}, {10, -2, 0}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t curve = c.points.size() == 2 ? host_testing::make_line(c.points[0], c.points[1])
                                                 : host_testing::make_spline(c.points);
        ASSERT_NE(curve, 0u);
        EXPECT_EQ(VD_EVT_check_curve_in_XOY_plane(curve), c.expected);
    }
    EXPECT_EQ(VD_EVT_check_curve_in_XOY_plane(0), -1);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtSketchTest, TheYAxisCrossingIsFoundWhereTheCurveMeetsIt) {
    struct Case {
        const char* name;
        bool in_sketch;
        Point3 start, end;     // absolute ends
        int expected_count;
        Point3 expected;       // absolute crossing point when one is expected
    };
    const Case cases[] = {
        {"free line across the absolute Y axis", false, {-5, 3, 0}, {5, 3, 0}, 1, {0, 3, 0}},
        {"free line beside the absolute Y axis", false, {1, 3, 0}, {5, 3, 0}, 0, {}},
        // Sketch (-4, 7) to (6, 7): its Y axis at sketch (0, 7).
        {"sketch line across the sketch's Y axis", true, at(kTurned, -4, 7), at(kTurned, 6, 7), 1, at(kTurned, 0, 7)},
        // Crosses absolute x = 0 but not the sketch's Y axis.
        {"sketch line beside the sketch's Y axis", true, at(kTurned, 2, 60), at(kTurned, 9, 40), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t curve = host_testing::make_line(c.start, c.end);
        if (c.in_sketch) add_sketch(kTurned, {curve});
        const int objects = host_testing::count_objects();
        int count = -1;
        double** points = nullptr;
        ASSERT_EQ(VD_EVT_check_curve_intersect_Y_axis(curve, &count, &points), 0);
        ASSERT_EQ(count, c.expected_count);
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(points[i][k], c.expected[k], kTol);
            SM_free(points[i]);
        }
        if (count == 0) {
            EXPECT_EQ(points, nullptr);
        }
        SM_free(points);
        EXPECT_EQ(host_testing::count_objects(), objects) << "the plane or an intersection curve was left";
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
    }
}

TEST_F(EvtSketchTest, TheYAxisCrossingRefusesBadInputAndLeavesNothingWhenTheKernelFails) {
    int count = 7;
    double** points = reinterpret_cast<double**>(this);
    EXPECT_EQ(VD_EVT_check_curve_intersect_Y_axis(0, &count, &points), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(points, nullptr);

    const tag_t curve = host_testing::make_line({-5, 3, 0}, {5, 3, 0});
    EXPECT_EQ(VD_EVT_check_curve_intersect_Y_axis(curve, nullptr, &points), -1);
    EXPECT_EQ(VD_EVT_check_curve_intersect_Y_axis(curve, &count, nullptr), -1);

    const int objects = host_testing::count_objects();
    host_testing::fail_kernel_call_after(0);
    count = 7;
    EXPECT_NE(VD_EVT_check_curve_intersect_Y_axis(curve, &count, &points), 0);
    host_testing::clear_kernel_fault();
    EXPECT_EQ(count, 0);
    EXPECT_EQ(points, nullptr);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtSketchTest, ACurveBeginsOnTheYAxisWhenEitherEndIsOnIt) {
    struct Case {
        const char* name;
        bool in_sketch;
        double a0, b0, a1, b1;   // ends: sketch coordinates, or absolute x, y
        int expected;
    };
    const Case cases[] = {
        {"sketch curve starting at sketch x 0.00005", true, 0.00005, 1, 10, 5, 0},
        {"sketch curve ending on the sketch's Y axis", true, 10, 5, 0, 2, 0},
        {"sketch curve with both ends at sketch x 0.001", true, 0.001, 1, 0.001, 9, -1},
        {"free line starting on the absolute Y axis", false, 0, 2, 5, 5, 0},
        {"free line off the absolute Y axis", false, 3, 0, 5, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tag_t curve = 0;
        if (c.in_sketch) {
            curve = sketch_line(kTurned, c.a0, c.b0, c.a1, c.b1);
            add_sketch(kTurned, {curve});
        } else {
            curve = host_testing::make_line({c.a0, c.b0, 0}, {c.a1, c.b1, 0});
        }
        EXPECT_EQ(VD_EVT_check_curve_begin_Y_axis(curve), c.expected);
    }
    EXPECT_EQ(VD_EVT_check_curve_begin_Y_axis(0), -1);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtSketchTest, AFeatureIsCheckedThroughTheCurveItStandsFor) {
    // A linked copy is checked through its source: a sketch curve starting
    // on the sketch's Y axis, and one off it.
    const tag_t on_axis = sketch_line(kTurned, 0, 1, 10, 5);
    const tag_t off_axis = sketch_line(kTurned, 2, 1, 10, 5);
    add_sketch(kTurned, {on_axis, off_axis});
    const tag_t link_on = host_testing::add_linked_copy(on_axis);
    const tag_t link_off = host_testing::add_linked_copy(off_axis);
    ASSERT_NE(link_on, 0u);
    ASSERT_NE(link_off, 0u);
    EXPECT_EQ(VD_EVT_check_curve_begin_Y_axis(link_on), 0);
    EXPECT_EQ(VD_EVT_check_curve_begin_Y_axis(link_off), -1);

    // A feature that made a curve crosses where the curve does.
    const tag_t across = host_testing::make_line({-5, 3, 0}, {5, 3, 0});
    const tag_t feature = host_testing::add_feature("LINE", 0, {across});
    int count = 0;
    double** points = nullptr;
    ASSERT_EQ(VD_EVT_check_curve_intersect_Y_axis(feature, &count, &points), 0);
    ASSERT_EQ(count, 1);
    const double expected[3] = {0, 3, 0};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(points[0][k], expected[k], kTol);
    SM_free(points[0]);
    SM_free(points);

    // A feature that is no link has no source to check.
    EXPECT_NE(VD_EVT_check_curve_begin_Y_axis(feature), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtSketchTest, TheSketchPlacementMapsPointsBothWays) {
    const tag_t sketch = add_sketch(kTurned, {sketch_line(kTurned, 0, 0, 1, 1)});
    double orientation[9], transform[12], to_absolute[16], to_sketch[16];
    ASSERT_EQ(VD_EVT_ask_sketch_matrix_information(sketch, orientation, transform, to_absolute, to_sketch), 0);
    for (int i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(orientation[i], kTurnedAxes[i]);

    // The transform turns absolute x onto the sketch's x (absolute y) and
    // absolute y onto the sketch's y (absolute -x), with no translation.
    const double x_image[3] = {transform[0], transform[4], transform[8]};
    const double y_image[3] = {transform[1], transform[5], transform[9]};
    const double expected_x[3] = {0, 1, 0}, expected_y[3] = {-1, 0, 0};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(x_image[k], expected_x[k], kTol);
        EXPECT_NEAR(y_image[k], expected_y[k], kTol);
        EXPECT_NEAR(transform[4 * k + 3], 0.0, kTol);
    }

    // Absolute (43, 20, 0) is sketch (0, 7, 0), and back.
    auto apply = [](const double m[16], const double p[3], double out[3]) {
        for (int r = 0; r < 3; ++r) out[r] = m[4 * r] * p[0] + m[4 * r + 1] * p[1] + m[4 * r + 2] * p[2] + m[4 * r + 3];
    };
    const double absolute[3] = {43, 20, 0}, local[3] = {0, 7, 0};
    double got[3];
    apply(to_sketch, absolute, got);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], local[k], kTol);
    apply(to_absolute, local, got);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], absolute[k], kTol);
}

TEST_F(EvtSketchTest, TheSketchPlacementRefusesWhatIsNoSketch) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t feature = host_testing::add_feature("EXTRUDE", 0, {line});
    const tag_t sketch = add_sketch(kTurned, {});
    double orientation[9], transform[12], to_absolute[16], to_sketch[16];
    EXPECT_EQ(VD_EVT_ask_sketch_matrix_information(0, orientation, transform, to_absolute, to_sketch), -1);
    EXPECT_EQ(VD_EVT_ask_sketch_matrix_information(sketch, orientation, nullptr, to_absolute, to_sketch), -1);
    EXPECT_EQ(VD_EVT_ask_sketch_matrix_information(line, orientation, transform, to_absolute, to_sketch),
              HM_ERR_WRONG_TYPE);
    EXPECT_EQ(VD_EVT_ask_sketch_matrix_information(feature, orientation, transform, to_absolute, to_sketch),
              HM_ERR_WRONG_TYPE);
}

TEST_F(EvtSketchTest, JointLimitsAreTheReachOfTheSketchGeometry) {
    // Three lines spanning sketch x from -20 to 35 and y from 0 to 12, with
    // no extreme on a probe's axis of symmetry.
    for (const Placement& p : {kTurned, kUpright}) {
        SCOPED_TRACE(p.name);
        const tag_t sketch = add_sketch(p, {sketch_line(p, -20, 4, 10, 0), sketch_line(p, 10, 0, 35, 6),
                                            sketch_line(p, 35, 6, 0, 12)});
        const int objects = host_testing::count_objects();
        double limits[4] = {};
        ASSERT_EQ(VD_EVT_ask_joint_limits_from_sketch(sketch, limits), 0);
        const double expected[4] = {-20, 35, 0, 12};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(limits[i], expected[i], 1e-4) << "limit " << i;
        EXPECT_EQ(host_testing::count_objects(), objects) << "a probe line was left";
    }
}

TEST_F(EvtSketchTest, JointLimitsRefuseBadInputAndReportAKernelFailure) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t sketch = add_sketch(kTurned, {sketch_line(kTurned, 0, 0, 5, 5)});
    double limits[4] = {};
    EXPECT_EQ(VD_EVT_ask_joint_limits_from_sketch(0, limits), -1);
    EXPECT_EQ(VD_EVT_ask_joint_limits_from_sketch(sketch, nullptr), -1);
    EXPECT_EQ(VD_EVT_ask_joint_limits_from_sketch(line, limits), HM_ERR_WRONG_TYPE);

    const int objects = host_testing::count_objects();
    host_testing::fail_kernel_call_after(0);
    EXPECT_NE(VD_EVT_ask_joint_limits_from_sketch(sketch, limits), 0);
    host_testing::clear_kernel_fault();
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(EvtSketchTest, RuleStringsEscapeQuotesAndTildesWithATilde) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"a\"b", "a~\"b"},
        {"~", "~~"},
        {"\"~\"", "~\"~~~\""},
        {"plain text", "plain text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char* out = nullptr;
        ASSERT_EQ(VD_EVT_convert_c_string_to_rq_string(c.text, &out), 0);
        EXPECT_STREQ(out, c.expected);
        SM_free(out);
    }
    char* out = reinterpret_cast<char*>(this);
    EXPECT_EQ(VD_EVT_convert_c_string_to_rq_string(nullptr, &out), -1);
    EXPECT_EQ(VD_EVT_convert_c_string_to_rq_string("", &out), -2);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(VD_EVT_convert_c_string_to_rq_string("x", nullptr), -1);
}

}  // namespace

namespace {

const char* const kToolClass = "%kw_vd_evt_envelope";

std::string object_list(std::initializer_list<tag_t> tags) {
    std::string text = "{ ";
    for (tag_t t : tags) text += (text.size() > 2 ? ", Object(" : "Object(") + std::to_string(t) + ")";
    return text + " }";
}

class EvtUsedGeometryTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        for (tag_t& t : curves_) t = host_testing::make_line({0, 0, 0}, {1.0 + (&t - curves_), 0, 0});
        host_testing::make_rule_instance("root:", "EVT_1", kToolClass,
                                         {{"output_curve_list", object_list({curves_[0], curves_[1]})}});
        host_testing::make_rule_instance("root:", "EVT_2", kToolClass,
                                         {{"evt_obj_group_tirecsys", object_list({curves_[2]})}});
        host_testing::make_rule_instance("root:", "ELSEWHERE", "%kw_other_tool",
                                         {{"output_curve_list", object_list({curves_[3]})}});
    }
    std::vector<tag_t> free_of(const char* instance) {
        tag_t* free_tags = nullptr;
        int n = -1;
        EXPECT_EQ(VD_EVT_check_geometry_used_by_rules(instance, curves_, 4, &free_tags, &n), 0);
        std::vector<tag_t> out(free_tags, free_tags + (n > 0 ? n : 0));
        SM_free(free_tags);
        return out;
    }
    tag_t curves_[4] = {};
};

TEST_F(EvtUsedGeometryTest, ObjectsHeldByAnotherToolInstanceAreNotFree) {
    // EVT_1's own curves stay free for it (its name in another case);
    // EVT_2's curve does not; another tool's objects do not count.
    EXPECT_EQ(free_of("evt_1"), (std::vector<tag_t>{curves_[0], curves_[1], curves_[3]}));
    EXPECT_EQ(free_of("EVT_2"), (std::vector<tag_t>{curves_[2], curves_[3]}));
    // Without an instance every tool instance is another one.
    EXPECT_EQ(free_of(nullptr), (std::vector<tag_t>{curves_[3]}));
}

TEST_F(EvtUsedGeometryTest, TheGivenInstancesOwnClassDecidesWhichInstancesCount) {
    host_testing::make_rule_instance("root:", "OTHER_2", "%kw_other_tool", {});
    EXPECT_EQ(free_of("OTHER_2"), (std::vector<tag_t>{curves_[0], curves_[1], curves_[2]}));
}

TEST_F(EvtUsedGeometryTest, BadInputIsRefusedWithNothingHandedBack) {
    tag_t* free_tags = reinterpret_cast<tag_t*>(this);
    int n = 9;
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", curves_, 4, nullptr, &n), -1);
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", curves_, 4, &free_tags, nullptr), -1);
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", nullptr, 2, &free_tags, &n), -1);
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", curves_, -1, &free_tags, &n), -1);

    // No tags: nothing free, nothing allocated.
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", nullptr, 0, &free_tags, &n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(free_tags, nullptr);

    // An instance whose attribute paths do not fit their 133-byte buffers.
    const std::string long_name(140, 'L');
    host_testing::make_rule_instance("root:", long_name.c_str(), kToolClass, {});
    n = 9;
    EXPECT_EQ(VD_EVT_check_geometry_used_by_rules("EVT_1", curves_, 4, &free_tags, &n), -1);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(free_tags, nullptr);
}

}  // namespace
