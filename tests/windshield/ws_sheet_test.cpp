// Sheet trimming with the retry rule, the single region around a point, the
// chain mid point, the centre-section points, areas, overlaps and sampling.
#include "ws_fixtures.h"

#include "ws_internal.h"

#include "quillon.h"

#include <cmath>

namespace {

using namespace carvell::windshield;
using host_testing::surface_area;

class WsTrimTest : public WindshieldTest {};
class WsMeasureTest : public WindshieldTest {};

TEST_F(WsTrimTest, KeepsTheRegionHoldingThePointInsideOrOutsideARectangle) {
    struct Case {
        const char* name;
        double keep[3];
        double area;
    } cases[] = {{"inside", {50, 0, 0}, 60.0 * 60.0}, {"outside", {5, 45, 0}, 100.0 * 100.0 - 60.0 * 60.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t sheet = flat_square();
        const auto bounds = bounds_of(rectangle(20, -30, 80, 30));
        HM_MODL_proj_method_t projection{};
        int gaps = -1;
        double* points = nullptr;
        ASSERT_EQ(HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), &projection, 1, 1, c.keep, 0.01, &gaps, &points), 0);
        EXPECT_EQ(gaps, 0);
        EXPECT_EQ(points, nullptr);
        EXPECT_NEAR(surface_area(sheet), c.area, 1e-6);
    }
}

TEST_F(WsTrimTest, RetriesOnceWithTheWidenedToleranceOnlyBelowTenTimesTheFirst) {
    // One forced failure with a gap of the length; tolerance 0.01, so the
    // retry tolerance is 1.2 * max(gap, 0.01) and must stay below 0.1.
    struct Case {
        double gap;
        int calls;
        double last_tolerance;
        bool succeeds;
    } cases[] = {{0.005, 2, 0.012, true}, {0.05, 2, 0.06, true}, {0.09, 1, 0.01, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gap);
        host_testing::reset_trim_hooks();
        host_testing::force_trim_gaps(1, c.gap);
        const tag_t sheet = flat_square();
        const auto bounds = bounds_of(rectangle(20, -30, 80, 30));
        const double keep[3] = {50, 0, 0};
        int gaps = 0;
        double* points = nullptr;
        const int code = HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, points ? nullptr : &points);
        EXPECT_EQ(host_testing::trim_sheet_calls(), c.calls);
        EXPECT_NEAR(host_testing::last_trim_tolerance(), c.last_tolerance, 1e-12);
        if (c.succeeds) {
            EXPECT_EQ(code, 0);
            EXPECT_EQ(gaps, 0);
        } else {
            EXPECT_EQ(code, HM_ERR_TRIM_GAPS);
            ASSERT_EQ(gaps, 2);
            EXPECT_NEAR(points[3] - points[0], c.gap, 1e-12);
        }
        SM_free(points);
    }
}

TEST_F(WsTrimTest, MakesNoThirdAttemptWhenTheRetryFailsToo) {
    host_testing::force_trim_gaps(5, 0.005);
    const tag_t sheet = flat_square();
    const auto bounds = bounds_of(rectangle(20, -30, 80, 30));
    const double keep[3] = {50, 0, 0};
    int gaps = 0;
    double* points = nullptr;
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, &points),
              HM_ERR_TRIM_GAPS);
    EXPECT_EQ(host_testing::trim_sheet_calls(), 2);
    EXPECT_EQ(gaps, 2);
    SM_free(points);
    EXPECT_NEAR(surface_area(sheet), 10000.0, 1e-6);
}

TEST_F(WsTrimTest, AThrownTrimAnswersItsCodeWithoutRetry) {
    host_testing::force_trim_exception(4711);
    const tag_t sheet = flat_square();
    const auto bounds = bounds_of(rectangle(20, -30, 80, 30));
    const double keep[3] = {50, 0, 0};
    int gaps = -1;
    double* points = nullptr;
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, &points), 4711);
    EXPECT_EQ(host_testing::trim_sheet_calls(), 1);
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(points, nullptr);
    EXPECT_NEAR(surface_area(sheet), 10000.0, 1e-6);
}

TEST_F(WsTrimTest, AnOpenChainReportsItsOpenEndsAsAGapPair) {
    // Three sides of the rectangle: the fourth side (x = 20) is the gap.
    const tag_t sheet = flat_square();
    auto curves = rectangle(20, -30, 80, 30);
    curves.pop_back();
    const auto bounds = bounds_of(curves);
    const double keep[3] = {50, 0, 0};
    int gaps = 0;
    double* points = nullptr;
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 3, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, &points),
              HM_ERR_TRIM_GAPS);
    EXPECT_EQ(host_testing::trim_sheet_calls(), 1) << "a 60 mm gap is far beyond ten times the tolerance";
    ASSERT_EQ(gaps, 2);
    EXPECT_NEAR(std::hypot(points[0] - points[3], points[1] - points[4]), 60.0, 1e-6);
    EXPECT_NEAR(points[0], 20.0, 1e-6);
    EXPECT_NEAR(points[3], 20.0, 1e-6);
    SM_free(points);
    EXPECT_NEAR(surface_area(sheet), 10000.0, 1e-6);
}

TEST_F(WsTrimTest, RefusesNullArguments) {
    const tag_t sheet = flat_square();
    const auto bounds = bounds_of(rectangle(20, -30, 80, 30));
    const double keep[3] = {50, 0, 0};
    int gaps = 0;
    double* points = nullptr;
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 4, nullptr, nullptr, 1, 1, keep, 0.01, &gaps, &points), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), nullptr, 1, 1, nullptr, 0.01, &gaps, &points),
              HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 4, bounds.data(), nullptr, 1, 1, keep, 0.01, nullptr, &points),
              HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_VD_WS_trim_sheet(0, 4, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, &points),
              HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_VD_WS_trim_sheet(sheet, 0, bounds.data(), nullptr, 1, 1, keep, 0.01, &gaps, &points),
              HM_ERR_BAD_ARGUMENT);
}

TEST_F(WsTrimTest, SingleAreaTrimKeepsTheRegionAroundTheChainMidPoint) {
    // Without a point the reference is the chain mid point of the curves,
    // which for this rectangle lies inside it.
    const tag_t sheet = flat_square();
    const auto curves = rectangle(20, -30, 80, 30);
    EXPECT_EQ(trim_to_single_wiped_area(sheet, 4, curves.data(), false, nullptr), 0);
    EXPECT_NEAR(surface_area(sheet), 3600.0, 1e-6);
}

TEST_F(WsMeasureTest, ChainMidPointWeighsLaterCurvesMore) {
    // Mid points (10,0,0), (20,0,0), (40,0,0): ((10 + 20) / 2 + 40) / 2 = 27.5.
    const std::vector<tag_t> curves = {support::new_line(0, 0, 0, 20, 0, 0), support::new_line(10, 0, 0, 30, 0, 0),
                                       support::new_line(30, 0, 0, 50, 0, 0)};
    double p[3];
    ASSERT_EQ(ws_ask_chain_mid_point(curves, p), 0);
    support::expect_point(p, {27.5, 0, 0}, 1e-9);
    EXPECT_EQ(ws_ask_chain_mid_point({}, p), -1);
}

TEST_F(WsMeasureTest, CentreSectionPointsOfPlanarAndCylindricalSheets) {
    const MTX4_t m = identity_frame();
    const Frame frame = frame_of(&m);
    {
        SCOPED_TRACE("planar sheet raked across the centre plane");
        const double corner[3] = {0, -50, 0}, u[3] = {0, 100, 0}, v[3] = {-60, 0, 80};
        const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
        double mid[3], low[3];
        ASSERT_EQ(ws_ask_center_section_points(sheet, frame, mid, low), 0);
        support::expect_point(mid, {-30, 0, 40}, 1e-6);
        support::expect_point(low, {0, 0, 0}, 1e-6);
    }
    {
        SCOPED_TRACE("cylinder of radius 3000 about x, 0.4 rad each side of the centre plane");
        // Axis along -x through (0, 0, -3000); the sheet turns from x_dir
        // towards +y, through the crown (0, 0, 0) at 0.4 rad.
        const double origin[3] = {0, 0, -3000}, axis[3] = {-1, 0, 0};
        const double x_dir[3] = {0, -std::sin(0.4), std::cos(0.4)};
        const tag_t sheet = host_testing::make_cylindrical_sheet(origin, axis, x_dir, 3000.0, 0.8, 500.0);
        ASSERT_NE(sheet, 0u);
        double mid[3], low[3];
        ASSERT_EQ(ws_ask_center_section_points(sheet, frame, mid, low), 0);
        // The section is the line x in [-500, 0] at the crown (0, 0, 0).
        support::expect_point(mid, {-250, 0, 0}, 1e-5);
        EXPECT_NEAR(low[2], 0.0, 1e-5);
        EXPECT_NEAR(low[1], 0.0, 1e-5);
    }
}

TEST_F(WsMeasureTest, CentreSectionFallsBackToAnEdgeOnTheCentrePlaneAndFailsWithoutOne) {
    const MTX4_t m = identity_frame();
    const Frame frame = frame_of(&m);
    double mid[3], low[3];
    const double apart[3] = {0, 10, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    EXPECT_EQ(ws_ask_center_section_points(host_testing::make_planar_sheet(apart, u, v), frame, mid, low), -1);
    const double on_plane[3] = {0, 0, 0}, w[3] = {0, 0, 100};
    const tag_t sheet = host_testing::make_planar_sheet(on_plane, w, v);   // edge x = 0, y = 0, z 0..100
    ASSERT_EQ(ws_ask_center_section_points(sheet, frame, mid, low), 0);
    support::expect_point(mid, {0, 0, 50}, 1e-6);
    support::expect_point(low, {0, 0, 0}, 1e-6);
}

TEST_F(WsMeasureTest, SheetAreaInPartUnits) {
    EXPECT_NEAR(ws_ask_sheet_area(1, std::vector<tag_t>{flat_square()}.data()), 10000.0, 1e-6);
    // Cylinder: R theta L = 3000 * 0.8 * 500.
    const double origin[3] = {0, 0, -3000}, axis[3] = {1, 0, 0}, x_dir[3] = {0, 0, 1};
    const tag_t cylinder = host_testing::make_cylindrical_sheet(origin, axis, x_dir, 3000.0, 0.8, 500.0);
    EXPECT_NEAR(ws_ask_sheet_area(1, &cylinder), 3000.0 * 0.8 * 500.0, 1e-3);
    EXPECT_EQ(ws_ask_sheet_area(0, nullptr), 0.0);
}

class WsInchMeasureTest : public WindshieldTest {
protected:
    WsInchMeasureTest() { inches_ = true; }
};

TEST_F(WsInchMeasureTest, SheetAreaOfAnInchPartIsInSquareInches) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 5, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    EXPECT_NEAR(ws_ask_sheet_area(1, &sheet), 50.0, 1e-9);
}

TEST_F(WsMeasureTest, OverlapCountsTheCommonAreaAndLeavesSheetsApartAlone) {
    {
        SCOPED_TRACE("overlapping by 50 x 100");
        const double c1[3] = {0, 0, 0}, c2[3] = {50, 0, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
        const tag_t a = host_testing::make_planar_sheet(c1, u, v), b = host_testing::make_planar_sheet(c2, u, v);
        double overlap = -1;
        ASSERT_EQ(ws_ask_overlap_area(a, b, overlap), 0);
        EXPECT_NEAR(overlap, 5000.0, 1e-6);
        EXPECT_NEAR(surface_area(a), 15000.0, 1e-6);
        EXPECT_NE(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
    }
    {
        SCOPED_TRACE("apart by 10");
        const double c1[3] = {0, 0, 0}, c2[3] = {110, 0, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
        const tag_t a = host_testing::make_planar_sheet(c1, u, v), b = host_testing::make_planar_sheet(c2, u, v);
        double overlap = -1;
        ASSERT_EQ(ws_ask_overlap_area(a, b, overlap), 0);
        EXPECT_EQ(overlap, 0.0);
        EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_ALIVE);
        EXPECT_NEAR(surface_area(a), 10000.0, 1e-6);
    }
}

TEST_F(WsMeasureTest, SamplesCurvesAtEvenParametersAndRefusesFewerThanTwoPoints) {
    const tag_t line = support::new_line(0, 0, 0, 100, 0, 0);
    int count = 0;
    int* counts = nullptr;
    double*** points = nullptr;
    EXPECT_EQ(ws_sample_curve_list({line}, 1, count, counts, points), -1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(points, nullptr);
    ASSERT_EQ(ws_sample_curve_list({line, line}, 5, count, counts, points), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(counts[1], 5);
    support::expect_point(points[1][1], {25, 0, 0}, 1e-9);
    support::expect_point(points[0][4], {100, 0, 0}, 1e-9);
    group_free(count, counts, points);
    EXPECT_EQ(count, 0);

    std::vector<std::vector<double>> between;
    const double p1[3] = {80, 3, 0}, p2[3] = {20, -3, 0};
    ASSERT_EQ(ws_curve_points_between(line, p1, p2, 4, between), 0);
    ASSERT_EQ(between.size(), 4u);
    EXPECT_NEAR(between[0][0], 20.0, 1e-9);
    EXPECT_NEAR(between[1][0], 40.0, 1e-9);
    EXPECT_NEAR(between[3][0], 80.0, 1e-9);
    EXPECT_EQ(ws_curve_points_between(line, p1, p2, 1, between), -1);
    EXPECT_TRUE(between.empty());
}

}  // namespace
