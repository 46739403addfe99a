// The 2003 release's windshield functions on a small raked planar glass: the
// wiper circles at A - B/2 and A + B/2 above pivot 1, the outline curves of
// one and two wipers, the wiped share of a test area, the test-area sides,
// and what bad input leaves behind.
#include "r2003_windshield.h"
#include "release2003/windshield.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using support::Point3;
constexpr double kPi = 3.14159265358979323846;

// The glass: 1000 mm across (y -500 to 500) and 500 mm up its slope, which
// rises 4 in 5 towards +x; the point `across` mm along y and `up` mm up the
// slope from the bottom edge.
const Point3 kSlope = {0.6, 0.0, 0.8};
Point3 on_glass(double across, double up) { return {up * kSlope[0], across, up * kSlope[2]}; }
// Height of a glass point up the slope.
double up_of(const double* p) { return p[0] * kSlope[0] + p[2] * kSlope[2]; }

class Release2003WindshieldTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        (void)HM_MODL_ask_distance_tolerance(&tolerance_);
    }
    // The glass as one face, or as two faces (two sheets meeting at y = 0).
    std::vector<tag_t> glass(bool two_faces = false) {
        const double corner[3] = {0, -500, 0}, across[3] = {0, two_faces ? 500.0 : 1000.0, 0},
                     up[3] = {300, 0, 400};
        std::vector<tag_t> faces = support::faces_of(host_testing::make_planar_sheet(corner, across, up));
        if (two_faces) {
            const double middle[3] = {0, 0, 0};
            for (tag_t f : support::faces_of(host_testing::make_planar_sheet(middle, across, up))) faces.push_back(f);
        }
        return faces;
    }
    // A test area across y from `left` to `right` and up the slope from
    // `low` to `high`, its normals pointing away from it.
    void set_area(double left, double right, double low, double high) {
        const Point3 o[4] = {on_glass(left, 0), on_glass(right, 0), on_glass(0, high), on_glass(0, low)};
        const double n[4][3] = {{0, -1, 0}, {0, 1, 0}, {0.6, 0, 0.8}, {-0.6, 0, -0.8}};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 3; ++i) {
                origins_[k][i] = o[k][i];
                normals_[k][i] = n[k][i];
            }
    }
    // Settings every export must hand back as it found them.
    void expect_settings_restored() {
        EXPECT_TRUE(HM_DISP_ask_display());
        double tolerance = 0.0;
        (void)HM_MODL_ask_distance_tolerance(&tolerance);
        EXPECT_EQ(tolerance, tolerance_);
    }
    double tolerance_ = 0.0;
    double origins_[4][3] = {};
    double normals_[4][3] = {};
};

// Outline curves as the caller gets them, freed with the caller's calls.
struct Lists {
    int count = 0;
    int* point_counts = nullptr;
    double*** points = nullptr;
    ~Lists() {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < point_counts[i]; ++j) SM_free(points[i][j]);
            SM_free(points[i]);
        }
        SM_free(point_counts);
        SM_free(points);
    }
    Point3 at(int i, int j) const { return {points[i][j][0], points[i][j][1], points[i][j][2]}; }
    Point3 first(int i) const { return at(i, 0); }
    Point3 last(int i) const { return at(i, point_counts[i] - 1); }
    // Splines through each list, as the dialog makes them.
    std::vector<tag_t> splines() const {
        std::vector<tag_t> curves;
        for (int i = 0; i < count; ++i) {
            std::vector<Point3> row;
            for (int j = 0; j < point_counts[i]; ++j) row.push_back(at(i, j));
            curves.push_back(host_testing::make_spline(row, 1));
        }
        return curves;
    }
};

struct Wiper {
    int mode;
    double arm, blade;
    Point3 pivot1, pivot2;
};

void wipe(const std::vector<tag_t>& faces, const Wiper& w, int n, Lists& out) {
    HM_VD_WS_create_wiped_area(int(faces.size()), faces.data(), w.mode, w.arm, w.blade, w.pivot1.data(),
                               w.pivot2.data(), n, &out.count, &out.point_counts, &out.points);
}

// One wiper: the outer circle at A + B/2 and the inner at A - B/2 about the
// pivot, on the glass above it; the connectors along the horizontal line
// through the pivot. The glass of two faces gives the same circles, joined
// from their pieces.
TEST_F(Release2003WindshieldTest, OneWiperGivesHalfCirclesAtTheBladeEndsAboveThePivot) {
    for (bool two_faces : {false, true}) {
        SCOPED_TRACE(two_faces ? "two faces" : "one face");
        const std::vector<tag_t> faces = glass(two_faces);
        const Point3 pivot = on_glass(0, 100);
        Lists out;
        wipe(faces, {2, 200.0, 100.0, pivot, pivot}, 9, out);
        ASSERT_EQ(out.count, 4);
        const double radius[4] = {250.0, -1.0, 150.0, -1.0};   // -1: a connector
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            ASSERT_EQ(out.point_counts[i], 9);
            for (int j = 0; j < 9; ++j) {
                const Point3 p = out.at(i, j);
                // On the glass, never below the pivot.
                EXPECT_NEAR(p[0] * 0.8 - p[2] * 0.6, 0.0, 1e-3);
                EXPECT_GT(up_of(p.data()), 100.0 - 1e-3);
                if (radius[i] > 0)
                    EXPECT_NEAR(support::distance(p, pivot), radius[i], 0.01);
                else
                    EXPECT_NEAR(up_of(p.data()), 100.0, 1e-3);
            }
        }
        // The circles run from the pivot line to the pivot line over the top.
        EXPECT_NEAR(std::fabs(out.first(0)[1]), 250.0, 0.01);
        EXPECT_NEAR(up_of(out.at(0, 4).data()), 350.0, 0.01);
        // A closed outline: each curve starts where the one before ends.
        for (int i = 0; i < 4; ++i) support::expect_point(out.first((i + 1) % 4), out.last(i), 0.01);
        expect_settings_restored();
    }
}

// Two wipers: a ring of 8 curves in mode 0; in mode 1, 8 when the outer
// circles are apart and 7 when they cross. Tandem rings close end to end.
TEST_F(Release2003WindshieldTest, TwoWipersGiveARingOfCurvesByMode) {
    const std::vector<tag_t> faces = glass();
    struct Case {
        const char* what;
        int mode;
        double half_spacing;
        int curves;
        bool one_ring;
    } cases[] = {
        {"tandem, outer circles crossing", 0, 140.0, 8, true},
        {"opposed, outer circles apart", 1, 250.0, 8, false},
        {"opposed, outer circles crossing", 1, 140.0, 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Wiper w = {c.mode, 150.0, 100.0, on_glass(-c.half_spacing, 100), on_glass(c.half_spacing, 100)};
        Lists out;
        wipe(faces, w, 7, out);
        ASSERT_EQ(out.count, c.curves);
        for (int i = 0; i < out.count; ++i) {
            EXPECT_EQ(out.point_counts[i], 7);
            for (int j = 0; j < 7; ++j) EXPECT_GT(up_of(out.points[i][j]), 100.0 - 1e-3);
        }
        // Curve 1 runs on wiper 1's outer circle from its far end.
        EXPECT_NEAR(support::distance(out.first(0), w.pivot1), 200.0, 0.01);
        EXPECT_NEAR(out.first(0)[1], -c.half_spacing - 200.0, 0.01);
        if (c.one_ring)
            for (int i = 0; i < out.count; ++i)
                support::expect_point(out.first((i + 1) % out.count), out.last(i), 0.01);
    }
    expect_settings_restored();
}

// The wiped share of a test area that holds the whole wiped band: the half
// annulus pi (R^2 - r^2) / 2 over the area of the test area; with two wipers
// apart, twice that.
TEST_F(Release2003WindshieldTest, WipedPercentageIsTheBandsAreaOverTheTestArea) {
    const std::vector<tag_t> faces = glass();
    struct Case {
        const char* what;
        Wiper wiper;
        double left, right, expected;
    } cases[] = {
        {"one wiper", {2, 200.0, 100.0, on_glass(0, 100), on_glass(0, 100)}, -300.0, 300.0,
         100.0 * kPi * (250.0 * 250.0 - 150.0 * 150.0) / 2.0 / (600.0 * 340.0)},
        {"two wipers apart", {1, 150.0, 100.0, on_glass(-250, 100), on_glass(250, 100)}, -480.0, 480.0,
         100.0 * kPi * (200.0 * 200.0 - 100.0 * 100.0) / (960.0 * 340.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lists out;
        wipe(faces, c.wiper, 41, out);
        ASSERT_GT(out.count, 0);
        const std::vector<tag_t> curves = out.splines();
        set_area(c.left, c.right, 60.0, 400.0);
        const Point3 keep = on_glass(0, 200);
        double percentage = -1.0;
        HM_VD_WS_calculate_percent(int(faces.size()), faces.data(), keep.data(), origins_, normals_,
                                   int(curves.size()), curves.data(), c.wiper.arm, c.wiper.blade,
                                   c.wiper.pivot1.data(), c.wiper.pivot2.data(), &percentage);
        // The outline is a polygon of 40 chords a circle: within 0.2 % of the area.
        EXPECT_NEAR(percentage, c.expected, 0.002 * c.expected);
        expect_settings_restored();
    }
}

// On a planar glass each side is the straight line where its plane meets
// the glass, between the two planes across it; a plane that misses the
// glass leaves its side empty and the sides across it run to the glass edge.
TEST_F(Release2003WindshieldTest, TestAreaSidesAreStraightOnAPlanarGlass) {
    const std::vector<tag_t> faces = glass();
    struct Case {
        const char* what;
        double right;
        int counts[4];
    } cases[] = {
        {"all four planes on the glass", 300.0, {5, 5, 5, 5}},
        {"the right plane beyond the glass", 600.0, {5, 0, 5, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        set_area(-300.0, c.right, 60.0, 400.0);
        Lists out;
        out.count = 4;
        HM_VD_WS_create_test_area(int(faces.size()), faces.data(), origins_, normals_, 5, &out.point_counts,
                                  &out.points);
        ASSERT_NE(out.point_counts, nullptr);
        const double right_end = std::fmin(c.right, 500.0);
        // Side k: its fixed coordinate (y for 0 and 1, height up the slope
        // for 2 and 3) and the span of the other between its bounds.
        const double fixed[4] = {-300.0, c.right, 400.0, 60.0};
        const double span[4][2] = {{60, 400}, {60, 400}, {-300, right_end}, {-300, right_end}};
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k);
            ASSERT_EQ(out.point_counts[k], c.counts[k]);
            if (c.counts[k] == 0) {
                EXPECT_EQ(out.points[k], nullptr);
                continue;
            }
            std::vector<double> along;
            for (int j = 0; j < 5; ++j) {
                const double* p = out.points[k][j];
                EXPECT_NEAR(k < 2 ? p[1] : up_of(p), fixed[k], 1e-3);
                EXPECT_NEAR(p[0] * 0.8 - p[2] * 0.6, 0.0, 1e-3);
                along.push_back(k < 2 ? up_of(p) : p[1]);
            }
            // Equal steps from one bound to the other.
            const double lo = std::fmin(along.front(), along.back()), hi = std::fmax(along.front(), along.back());
            EXPECT_NEAR(lo, span[k][0], 1e-3);
            EXPECT_NEAR(hi, span[k][1], 1e-3);
            for (int j = 1; j < 5; ++j) EXPECT_NEAR(std::fabs(along[j] - along[j - 1]), (hi - lo) / 4.0, 1e-3);
        }
        expect_settings_restored();
    }
}

// A blade longer than twice the arm has no inner circle: no outline.
TEST_F(Release2003WindshieldTest, BladeLongerThanTwiceTheArmLeavesTheOutlineEmpty) {
    const std::vector<tag_t> faces = glass();
    const Point3 pivot = on_glass(0, 100);
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        Lists out;
        wipe(faces, {mode, 100.0, 250.0, pivot, on_glass(200, 100)}, 5, out);
        EXPECT_EQ(out.count, 0);
        EXPECT_EQ(out.point_counts, nullptr);
        EXPECT_EQ(out.points, nullptr);
    }
    expect_settings_restored();
}

// Bad input to each export: empty outputs, nothing built, nothing left
// allocated, the display and tolerance as they were.
TEST_F(Release2003WindshieldTest, BadInputLeavesEmptyOutputsAndBuildsNothing) {
    const std::vector<tag_t> faces = glass();
    const tag_t line = support::new_line(0, 0, 0, 10, 0, 0);
    set_area(-300.0, 300.0, 60.0, 400.0);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Point3 pivot = on_glass(0, 100), keep = on_glass(0, 200), bad = {nan, 0, 0};
    double zero_normals[4][3] = {};
    const int objects = host_testing::count_objects();
    auto expect_nothing_left = [&] {
        EXPECT_EQ(host_testing::count_objects(), objects);
        ExpectNoLeaks();
        expect_settings_restored();
    };
    struct AreaCase {
        const char* what;
        int face_count;
        const tag_t* faces;
        const double (*normals)[3];
        int n;
    } area_cases[] = {
        {"no faces", 1, nullptr, normals_, 5},
        {"no face count", 0, faces.data(), normals_, 5},
        {"a curve for a face", 1, &line, normals_, 5},
        {"no normals", 1, faces.data(), nullptr, 5},
        {"a zero normal", 1, faces.data(), zero_normals, 5},
        {"one point a curve", 1, faces.data(), normals_, 1},
        {"too many points a curve", 1, faces.data(), normals_, 20000},
    };
    for (const AreaCase& c : area_cases) {
        SCOPED_TRACE(c.what);
        int stale = 0;
        double** stale_row = nullptr;
        int* counts = &stale;   // both are overwritten with null
        double*** points = &stale_row;
        HM_VD_WS_create_test_area(c.face_count, c.faces, origins_, c.normals, c.n, &counts, &points);
        EXPECT_EQ(counts, nullptr);
        EXPECT_EQ(points, nullptr);
        expect_nothing_left();
    }
    struct WipedCase {
        const char* what;
        int face_count;
        const tag_t* faces;
        int mode;
        double arm, blade;
        const double* pivot;
        int n;
    } wiped_cases[] = {
        {"no faces", 1, nullptr, 2, 200, 100, pivot.data(), 5},
        {"no face count", 0, faces.data(), 2, 200, 100, pivot.data(), 5},
        {"mode 3", 1, faces.data(), 3, 200, 100, pivot.data(), 5},
        {"an arm not a number", 1, faces.data(), 2, nan, 100, pivot.data(), 5},
        {"an infinite blade", 1, faces.data(), 0, 200, inf, pivot.data(), 5},
        {"no blade", 1, faces.data(), 2, 200, 0, pivot.data(), 5},
        {"no pivot", 1, faces.data(), 2, 200, 100, nullptr, 5},
        {"a pivot not a number", 1, faces.data(), 2, 200, 100, bad.data(), 5},
        {"one point a curve", 1, faces.data(), 2, 200, 100, pivot.data(), 1},
    };
    for (const WipedCase& c : wiped_cases) {
        SCOPED_TRACE(c.what);
        Lists out;
        out.count = 9;
        HM_VD_WS_create_wiped_area(c.face_count, c.faces, c.mode, c.arm, c.blade, c.pivot, pivot.data(), c.n,
                                   &out.count, &out.point_counts, &out.points);
        EXPECT_EQ(out.count, 0);
        EXPECT_EQ(out.point_counts, nullptr);
        EXPECT_EQ(out.points, nullptr);
        expect_nothing_left();
    }
    struct PercentCase {
        const char* what;
        int face_count;
        const tag_t* faces;
        const double* keep;
        const double (*normals)[3];
        int curve_count;
        const tag_t* curves;
        double arm;
    } percent_cases[] = {
        {"no faces", 1, nullptr, keep.data(), normals_, 1, &line, 200},
        {"no keep point", 1, faces.data(), nullptr, normals_, 1, &line, 200},
        {"a keep point not a number", 1, faces.data(), bad.data(), normals_, 1, &line, 200},
        {"a zero normal", 1, faces.data(), keep.data(), zero_normals, 1, &line, 200},
        {"no curves", 1, faces.data(), keep.data(), normals_, 1, nullptr, 200},
        {"no curve count", 1, faces.data(), keep.data(), normals_, 0, &line, 200},
        {"a face for a curve", 1, faces.data(), keep.data(), normals_, 1, faces.data(), 200},
        {"an arm not a number", 1, faces.data(), keep.data(), normals_, 1, &line, nan},
    };
    for (const PercentCase& c : percent_cases) {
        SCOPED_TRACE(c.what);
        double percentage = 7.0;
        HM_VD_WS_calculate_percent(c.face_count, c.faces, c.keep, origins_, c.normals, c.curve_count, c.curves,
                                   c.arm, 100.0, pivot.data(), pivot.data(), &percentage);
        EXPECT_EQ(percentage, 0.0);
        expect_nothing_left();
    }
    // Null outputs are refused without a crash.
    HM_VD_WS_create_test_area(1, faces.data(), origins_, normals_, 5, nullptr, nullptr);
    HM_VD_WS_create_wiped_area(1, faces.data(), 2, 200, 100, pivot.data(), pivot.data(), 5, nullptr, nullptr,
                               nullptr);
    HM_VD_WS_calculate_percent(1, faces.data(), keep.data(), origins_, normals_, 1, &line, 200, 100, pivot.data(),
                               pivot.data(), nullptr);
    expect_nothing_left();
}

// A host call failing at any point of an export: the outputs whole or
// empty, nothing left allocated, the display on and the distance tolerance
// as it was (the glass of two faces raises it to join the circles' pieces).
TEST_F(Release2003WindshieldTest, AHostFailureAnywhereRestoresTheDisplayAndTolerance) {
    const std::vector<tag_t> faces = glass(true);
    const Point3 pivot = on_glass(0, 100);
    const Wiper wiper = {2, 200.0, 100.0, pivot, pivot};
    const long before = host_testing::kernel_calls_made();
    {
        Lists out;
        wipe(faces, wiper, 5, out);
        ASSERT_EQ(out.count, 4);
    }
    const long calls = host_testing::kernel_calls_made() - before;
    ASSERT_GT(calls, 0);
    // Every tenth call, and the last: enough to fail in each step.
    for (long k = 0; k < calls; k += (k + 10 < calls ? 10 : calls - 1 - k > 0 ? calls - 1 - k : 1)) {
        SCOPED_TRACE(k);
        host_testing::fail_kernel_call_after(int(k));
        Lists out;
        wipe(faces, wiper, 5, out);
        host_testing::clear_kernel_fault();
        EXPECT_TRUE(out.count == 0 || out.count == 4) << out.count;
        if (out.count == 0) {
            EXPECT_EQ(out.points, nullptr);
        }
        expect_settings_restored();
    }
    set_area(-300.0, 300.0, 60.0, 400.0);
    for (int k : {0, 2, 5, 9}) {
        SCOPED_TRACE(k);
        host_testing::fail_kernel_call_after(k);
        Lists sides;
        sides.count = 4;
        HM_VD_WS_create_test_area(int(faces.size()), faces.data(), origins_, normals_, 5, &sides.point_counts,
                                  &sides.points);
        host_testing::clear_kernel_fault();
        if (!sides.point_counts) sides.count = 0;
        expect_settings_restored();
    }
    ExpectNoLeaks();
}

// A plane crosses a sheet's edges when points of them lie on both sides,
// also when it cuts a bowed edge twice and leaves every corner on one side:
// an arched sheet (radius 100, crown at z = 100, corners at z = 86.6).
TEST_F(Release2003WindshieldTest, PlaneCrossesEdgesAlsoBetweenTheirEnds) {
    const double origin[3] = {0, 0, 0}, axis[3] = {0, 1, 0}, x_dir[3] = {-0.5, 0, std::sqrt(3.0) / 2};
    const tag_t arch = host_testing::make_cylindrical_sheet(origin, axis, x_dir, 100.0, kPi / 3, 50.0);
    struct Case {
        const char* what;
        Point3 origin, normal;
        bool crosses;
    } cases[] = {
        {"across the arch, corners on both sides", {0, 0, 0}, {1, 0, 0}, true},
        {"through the crown only", {0, 0, 95}, {0, 0, 1}, true},
        {"below the corners", {0, 0, 70}, {0, 0, 1}, false},
        {"above the crown", {0, 0, 110}, {0, 0, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const tag_t plane = host_testing::make_plane(c.origin, c.normal);
        EXPECT_EQ(carvell::r2003::ws_old_plane_crosses_edges(arch, plane), c.crosses);
    }
}

// The ends of a curve judged from two points: the farther and nearer by
// the sums of distances, the end on a tie.
TEST_F(Release2003WindshieldTest, CurveEndsAreJudgedBySumsOfDistances) {
    const tag_t line = support::new_line(0, 0, 0, 10, 0, 0);
    struct Case {
        const char* what;
        Point3 p1, p2;
        double farther_x, nearer_x;
    } cases[] = {
        {"points near the start", {2, 0, 0}, {1, 1, 0}, 10.0, 0.0},
        {"points near the end", {9, 0, 0}, {8, 1, 0}, 0.0, 10.0},
        {"a tie", {5, 0, 0}, {5, 3, 0}, 10.0, 10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double far[3], near[3];
        ASSERT_EQ(carvell::r2003::ws_old_curve_end(line, c.p1.data(), c.p2.data(), 1, far), 0);
        ASSERT_EQ(carvell::r2003::ws_old_curve_end(line, c.p1.data(), c.p2.data(), 0, near), 0);
        EXPECT_EQ(far[0], c.farther_x);
        EXPECT_EQ(near[0], c.nearer_x);
    }
}

// The band test: above the horizontal plane through pivot 1 and strictly
// between the circles; rings of 7 or 8 curves measure from the chosen pivot;
// a point given in a turned work coordinate system is taken to absolute.
TEST_F(Release2003WindshieldTest, BandTestAcceptsPointsAbovePivotOneWithinTheBand) {
    const double p1[3] = {0, 0, 0}, p2[3] = {1000, 0, 0};
    struct Case {
        const char* what;
        Point3 point;
        int curves, nearer, first;
        bool inside;
    } cases[] = {
        {"in the band above", {0, 0, 200}, 4, 1, 1, true},
        {"below pivot 1", {0, 200, -1}, 4, 1, 1, false},
        {"inside the inner circle", {0, 0, 149}, 4, 1, 1, false},
        {"on the outer circle", {0, 0, 250}, 4, 1, 1, false},
        {"near pivot 2, ring, nearer pivot", {1000, 0, 200}, 8, 1, 1, true},
        {"near pivot 2, ring, pivot 1", {1000, 0, 200}, 8, 0, 1, false},
        {"near pivot 2, ring, pivot 2", {1000, 0, 200}, 7, 0, 0, true},
        {"near pivot 2, four curves", {1000, 0, 200}, 4, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double p[3] = {c.point[0], c.point[1], c.point[2]};
        EXPECT_EQ(carvell::r2003::ws_old_point_in_wiped_band(p, c.curves, c.nearer, c.first, 200.0, 100.0, p1, p2),
                  c.inside);
    }
    // The work coordinates (0, -200, 0) of a system turned 90 degrees about z
    // are the absolute (200, 0, 0)... which lies on pivot 1's plane, so 1 mm up.
    const double origin[3] = {0, 0, 0};
    ASSERT_EQ(HM_CSYS_set_wcs(support::turned_csys(origin, 90.0)), 0);
    double in_work[3] = {0, -200, 1};
    EXPECT_TRUE(carvell::r2003::ws_old_point_in_wiped_band(in_work, 4, 1, 1, 200.0, 100.0, p1, p2));
    support::expect_point(in_work, {200, 0, 1}, 1e-9);
}

}  // namespace
