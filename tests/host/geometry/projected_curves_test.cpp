// Projected-curve features: curves laid onto planes along their normals,
// the feature owning its curves, and refused input building nothing.
#include "host_fixture.h"
#include "farquil.h"
#include "host_testing.h"
#include "omvra.h"
#include "omvra/curves.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

class ProjectedCurvesTest : public HostTest {
protected:
    // Projects the curves onto the targets; the lists are deleted.
    int project(const std::vector<tag_t>& curves, const std::vector<tag_t>& targets, tag_t* feature) {
        hm_list_p_t c = support::make_list(curves);
        hm_list_p_t t = support::make_list(targets);
        const int r = HM_MODL_create_proj_curves(c, t, feature);
        HM_MODL_delete_list(&c);
        HM_MODL_delete_list(&t);
        return r;
    }
    // The feature's curves, the array freed.
    std::vector<tag_t> curves_of(tag_t feature) {
        int count = -1;
        tag_t* curves = nullptr;
        EXPECT_EQ(HM_MODL_ask_proj_curves(feature, &count, &curves), 0);
        std::vector<tag_t> out(curves, curves + (count > 0 ? count : 0));
        SM_free(curves);
        return out;
    }
};

TEST_F(ProjectedCurvesTest, TiltedEllipseOntoAHorizontalPlaneIsTheForeshortenedEllipse) {
    // Semi-axis 100 along (0.8, 0, 0.6) and 50 along y, centred 100 above
    // the plane z = 0: seen from above, semi-axes 80 along x and 50 along y
    // about (0, 0, 0).
    const tag_t ellipse = host_testing::make_ellipse({0, 0, 100}, 100, 50, {0.8, 0, 0.6}, {0, 1, 0});
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    tag_t feature = 0;
    ASSERT_EQ(project({ellipse}, {plane}, &feature), 0);
    const std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 1u);
    int type = 0, subtype = 0;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(feature, &type, &subtype), 0);
    EXPECT_EQ(type, HM_feature_type);
    for (int k = 0; k < 12; ++k) {
        const double u = 2.0 * support::kPi * k / 12.0;
        SCOPED_TRACE("angle " + std::to_string(k * 30));
        EXPECT_NEAR(support::distance_to_curve(curves[0], {80 * std::cos(u), 50 * std::sin(u), 0}), 0.0, 1e-6);
    }
    // Perimeter of the 80 x 50 ellipse by a fine polygon, worked apart from the host.
    double perimeter = 0.0;
    for (int k = 0; k < 20000; ++k) {
        const double u0 = 2.0 * support::kPi * k / 20000.0, u1 = 2.0 * support::kPi * (k + 1) / 20000.0;
        perimeter += std::hypot(80 * (std::cos(u1) - std::cos(u0)), 50 * (std::sin(u1) - std::sin(u0)));
    }
    EXPECT_NEAR(support::curve_length(curves[0]), perimeter, 1e-3);
    // The source stays as it was.
    EXPECT_NEAR(support::distance_to_curve(ellipse, {80, 0, 160}), 0.0, 1e-6);
}

TEST_F(ProjectedCurvesTest, LineOntoATiltedDatumPlaneMovesAlongTheNormal) {
    // Plane through (0, 0, 50), normal (0, 0.6, 0.8): (0, 0, 0) lies 40 below
    // it along the normal, so its foot is (0, 24, 32); likewise (100, 24, 32).
    const tag_t line = support::new_line(0, 0, 0, 100, 0, 0);
    const tag_t datum = host_testing::make_datum_plane({0, 0, 50}, {0, 0.6, 0.8});
    tag_t feature = 0;
    ASSERT_EQ(project({line}, {datum}, &feature), 0);
    const std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 1u);
    support::expect_point(support::curve_point(curves[0], 0.0), {0, 24, 32}, 1e-9);
    support::expect_point(support::curve_point(curves[0], 1.0), {100, 24, 32}, 1e-9);
}

TEST_F(ProjectedCurvesTest, EachCurveGoesOntoEachPlaneInListOrder) {
    const tag_t a = support::new_line(0, 0, 5, 10, 0, 5);
    const tag_t b = support::new_line(0, 20, 5, 0, 30, 5);
    const tag_t low = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const tag_t high = host_testing::make_plane({0, 0, 100}, {0, 0, -1});
    tag_t feature = 0;
    ASSERT_EQ(project({a, b}, {low, high}, &feature), 0);
    const std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 4u);
    const std::vector<Point3> starts = {{0, 0, 0}, {0, 0, 100}, {0, 20, 0}, {0, 20, 100}};
    for (size_t i = 0; i < curves.size(); ++i) {
        SCOPED_TRACE("curve " + std::to_string(i));
        support::expect_point(support::curve_point(curves[i], 0.0), starts[i], 1e-9);
    }
}

TEST_F(ProjectedCurvesTest, ALineAlongTheNormalMakesNoCurve) {
    const tag_t upright = support::new_line(5, 5, 10, 5, 5, 60);
    const tag_t flat = support::new_line(0, 0, 10, 40, 0, 10);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    tag_t feature = 0;
    ASSERT_EQ(project({upright, flat}, {plane}, &feature), 0);
    const std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_NEAR(support::curve_length(curves[0]), 40.0, 1e-9);
    // Alone it makes nothing at all, not even the feature.
    const int objects = host_testing::count_objects();
    feature = 99;
    EXPECT_EQ(project({upright}, {plane}, &feature), HM_ERR_GEOMETRY);
    EXPECT_EQ(feature, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(ProjectedCurvesTest, DeletingTheFeatureDeletesItsCurvesButNotTheSources) {
    const tag_t line = support::new_line(0, 0, 5, 10, 0, 5);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    tag_t feature = 0;
    ASSERT_EQ(project({line, line}, {plane}, &feature), 0);
    std::vector<tag_t> curves = curves_of(feature);
    ASSERT_EQ(curves.size(), 2u);
    // A curve deleted on its own is no longer answered.
    ASSERT_EQ(HM_OBJ_delete_object(curves[0]), 0);
    EXPECT_EQ(curves_of(feature), std::vector<tag_t>{curves[1]});
    ASSERT_EQ(HM_OBJ_delete_object(feature), 0);
    EXPECT_EQ(HM_OBJ_ask_status(curves[1]), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(plane), HM_OBJ_ALIVE);
}

TEST_F(ProjectedCurvesTest, UndoToAMarkTakesTheFeatureAndItsCurves) {
    const tag_t line = support::new_line(0, 0, 5, 10, 0, 5);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const int objects = host_testing::count_objects();
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_invisible, "projection");
    ASSERT_NE(mark, 0);
    tag_t feature = 0;
    ASSERT_EQ(project({line}, {plane}, &feature), 0);
    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    UNDO_KW_delete_mark(mark);
    EXPECT_EQ(HM_OBJ_ask_status(feature), HM_OBJ_DELETED);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(ProjectedCurvesTest, RefusedInputBuildsNothing) {
    const tag_t line = support::new_line(0, 0, 5, 10, 0, 5);
    const tag_t point = support::new_point(1, 2, 3);
    const tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t gone = support::new_line(0, 0, 0, 1, 1, 1);
    ASSERT_EQ(HM_OBJ_delete_object(gone), 0);
    struct Case {
        const char* what;
        std::vector<tag_t> curves, targets;
        int code;
    };
    const Case cases[] = {
        {"no curves", {}, {plane}, HM_ERR_BAD_ARGUMENT},
        {"no targets", {line}, {}, HM_ERR_BAD_ARGUMENT},
        {"tag 0 curve", {line, 0}, {plane}, HM_ERR_INVALID_TAG},
        {"deleted curve", {gone}, {plane}, HM_ERR_INVALID_TAG},
        {"point as curve", {point}, {plane}, HM_ERR_WRONG_TYPE},
        {"tag 0 target", {line}, {0}, HM_ERR_INVALID_TAG},
        {"body as target", {line}, {plane, box}, HM_ERR_WRONG_TYPE},
        {"line as target", {line}, {line}, HM_ERR_WRONG_TYPE},
    };
    const int objects = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t feature = 99;
        EXPECT_EQ(project(c.curves, c.targets, &feature), c.code);
        EXPECT_EQ(feature, 0u);
        EXPECT_EQ(host_testing::count_objects(), objects);
    }
    hm_list_p_t curves = support::make_list({line});
    hm_list_p_t targets = support::make_list({plane});
    tag_t feature = 99;
    EXPECT_EQ(HM_MODL_create_proj_curves(nullptr, targets, &feature), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_create_proj_curves(curves, targets, nullptr), HM_ERR_NULL_POINTER);
    // A kernel failure half-way leaves nothing behind either.
    host_testing::fail_kernel_call_after(0);
    EXPECT_EQ(HM_MODL_create_proj_curves(curves, targets, &feature), HM_ERR_GEOMETRY);
    host_testing::clear_kernel_fault();
    EXPECT_EQ(feature, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
    HM_MODL_delete_list(&curves);
    HM_MODL_delete_list(&targets);
    host_testing::clear_sinks();
}

TEST_F(ProjectedCurvesTest, AskingOtherObjectsIsRefused) {
    const tag_t line = support::new_line(0, 0, 5, 10, 0, 5);
    tag_t datum_feature = 0;
    host_testing::make_datum_plane({0, 0, 0}, {0, 0, 1}, &datum_feature);
    int count = 7;
    tag_t* curves = nullptr;
    EXPECT_EQ(HM_MODL_ask_proj_curves(0, &count, &curves), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_proj_curves(line, &count, &curves), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_proj_curves(datum_feature, &count, &curves), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(curves, nullptr);
    EXPECT_EQ(HM_MODL_ask_proj_curves(datum_feature, nullptr, &curves), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_ask_proj_curves(datum_feature, &count, nullptr), HM_ERR_NULL_POINTER);
}

}  // namespace
