// Positioning of a driver's outside mirror by the 2003 mirror-certification
// engine: a 150 x 100 glass (flat, or convex R 1400) with its pivot at its
// centre G = (1900, -1000, 1000), facing the eyes at first; the user's eyes
// 635 above the reference point (2500, -370, 520), behind and inboard of it.
// Turned, the glass reflects the sight line of the left eye through the
// prime point straight rearward (+x): its normal there bisects the
// directions to that eye and rearward.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd.h"
#include "omvra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace {

using host_testing::Point3;
using support::expect_point;

constexpr double kDegrees = 57.29577951308232;
constexpr double kAngleTolerance = 0.05;   // degrees, the record's
const Point3 kGlassCentre = {1900, -1000, 1000};
constexpr double kRadius = 1400.0;

Point3 sub(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3 unit(const Point3& a) {
    const double k = 1.0 / std::sqrt(dot(a, a));
    return {k * a[0], k * a[1], k * a[2]};
}
Point3 cross(const Point3& a, const Point3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point3 point(const double* p) { return {p[0], p[1], p[2]}; }
double angle_between(const Point3& a, const Point3& b) {
    return std::atan2(std::sqrt(dot(cross(a, b), cross(a, b))), dot(a, b)) * kDegrees;
}

// Distance from a point to a sheet, through a point object made and deleted.
double distance_to(tag_t sheet, const Point3& p) {
    tag_t probe = support::new_point(p[0], p[1], p[2]);
    double distance = -1.0, a[3], b[3];
    EXPECT_EQ(HM_MODL_ask_minimum_dist(probe, sheet, 0, nullptr, 0, nullptr, &distance, a, b), 0);
    HM_OBJ_delete_object(probe);
    return distance;
}

// The turn about z by the plan angle, then about y by the side angle, about
// the point: the host's twelve values, worked out by hand.
std::vector<double> turn_about(const Point3& pivot, double plan, double side) {
    const double cp = std::cos(plan / kDegrees), sp = std::sin(plan / kDegrees);
    const double cs = std::cos(side / kDegrees), ss = std::sin(side / kDegrees);
    const double r[3][3] = {{cs * cp, -cs * sp, ss}, {sp, cp, 0}, {-ss * cp, ss * sp, cs}};
    std::vector<double> m(12);
    for (int i = 0; i < 3; ++i) {
        m[4 * i + 3] = pivot[i];
        for (int j = 0; j < 3; ++j) {
            m[4 * i + j] = r[i][j];
            m[4 * i + 3] -= r[i][j] * pivot[j];
        }
    }
    return m;
}

Point3 moved_by(const double* m, const Point3& p) {
    Point3 q{};
    for (int i = 0; i < 3; ++i) q[i] = m[4 * i] * p[0] + m[4 * i + 1] * p[1] + m[4 * i + 2] * p[2] + m[4 * i + 3];
    return q;
}

enum class Glass { flat, convex };

class Release2003MirrorPositionTest : public HostTest {
protected:
    void TearDown() override {
        clear_record();
        HostTest::TearDown();
    }
    void clear_record() {
        carvell::r2003::mc_free_geometry_set(&data_.mirror_set);
        if (data_.bezel_curves) HM_MODL_delete_list(&data_.bezel_curves);
        data_ = {};
        result_ = {};
        surface_ = {};
    }

    // The record of a driver's outside mirror whose glass faces along the
    // normal, with its user eyes in the outside result; the sheet in use is a
    // copy of the caller's, its outline in the record.
    void set_up(Glass glass, const Point3& normal = {1, 0, 0}) {
        clear_record();
        data_.mirror_kind = 1;
        data_.user_eye_flag = 1;
        data_.distance_tolerance = 0.01;
        data_.angle_tolerance = kAngleTolerance;
        data_.third_tolerance = 0.01;
        const double reference[3] = {2500, -370, 520};
        std::memcpy(data_.eye_reference, reference, sizeof reference);
        std::memcpy(data_.pivot, kGlassCentre.data(), sizeof data_.pivot);
        std::memcpy(data_.prime, kGlassCentre.data(), sizeof data_.prime);
        double eyes[3][3], rear[3];
        ASSERT_EQ(carvell::r2003::mc_find_eye_points_2003(&data_, eyes, result_.head_pivot, rear), 0);
        std::memcpy(result_.left_eye, eyes[0], sizeof eyes[0]);
        std::memcpy(result_.mid_eye, eyes[1], sizeof eyes[1]);
        std::memcpy(result_.right_eye, eyes[2], sizeof eyes[2]);

        const Point3 n = unit(normal);
        const Point3 across = unit(cross({0, 0, 1}, n)), up = cross(n, across);
        std::memcpy(surface_.vertex, kGlassCentre.data(), sizeof surface_.vertex);
        std::memcpy(surface_.normal, n.data(), sizeof surface_.normal);
        if (glass == Glass::flat) {
            const double u[3] = {150 * across[0], 150 * across[1], 150 * across[2]};
            const double v[3] = {100 * up[0], 100 * up[1], 100 * up[2]};
            double corner[3];
            for (int i = 0; i < 3; ++i) corner[i] = kGlassCentre[i] - 0.5 * (u[i] + v[i]);
            caller_sheet_ = host_testing::make_planar_sheet(corner, u, v);
            std::memcpy(surface_.centre, kGlassCentre.data(), sizeof surface_.centre);
        } else {
            for (int i = 0; i < 3; ++i) surface_.centre[i] = kGlassCentre[i] - kRadius * n[i];
            surface_.radius = kRadius;
            surface_.curvature = 1.0 / kRadius;
            data_.mirror_shape = 1;
            caller_sheet_ = host_testing::make_spherical_patch(surface_.centre, kRadius, n.data(), up.data(), 150, 100);
        }
        ASSERT_NE(caller_sheet_, NULL_TAG);
        data_.caller_mirror_sheet = caller_sheet_;
        ASSERT_EQ(HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &caller_sheet_, &data_.mirror_sheet), 0);
        starting_sheet_ = data_.mirror_sheet;
        ASSERT_EQ(carvell::r2003::mc_build_geometry_set(data_.mirror_sheet, nullptr, 0, &data_.mirror_set), 0);
    }

    // A bezel in the plane x = 1900 (the glass's, unturned): a circle of
    // radius 25 about the point, made of two half circles.
    void add_bezel(const Point3& centre) {
        const tag_t halves[2] = {host_testing::make_arc(centre, 25, 0, M_PI, {0, 1, 0}, {0, 0, 1}),
                                 host_testing::make_arc(centre, 25, M_PI, 2 * M_PI, {0, 1, 0}, {0, 0, 1})};
        data_.bezel_present = 1;
        data_.bezel_curves = support::make_list({halves[0], halves[1]});
    }

    int position() {
        return HM_VD_MC_pro_position_outside_mirror(&data_, &surface_, &result_, matrix_, &rotated_, prime_, eyes_);
    }

    // The angle (degrees) between +x and the reflection at the turned mirror
    // of the left eye's sight line through the prime point found.
    double rearward_error() {
        const double tolerances[2] = {data_.distance_tolerance, data_.angle_tolerance};
        double hit[3], r[3];
        EXPECT_EQ(HM_VD_MC_reflex(&surface_, eyes_[0], prime_, tolerances, hit, r), 0);
        expect_point(hit, point(prime_), 1e-6);
        return angle_between(point(r), {1, 0, 0});
    }

    // The objects a sheet in use holds once the positioning has used it: its
    // body, face, edges and the point of it the host named as outermost.
    int objects_of_a_used_sheet() {
        const int before = host_testing::count_objects();
        tag_t copy = NULL_TAG;
        EXPECT_EQ(HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &caller_sheet_, &copy), 0);
        mc_geometry_set_s set{};
        EXPECT_EQ(carvell::r2003::mc_build_geometry_set(copy, nullptr, 0, &set), 0);
        const double outboard[3] = {0, -1, 0}, up[3] = {0, 0, 1}, rearward[3] = {1, 0, 0};
        tag_t held = NULL_TAG;
        double q[3];
        EXPECT_EQ(HM_MODL_ask_extreme(set.face, outboard, up, rearward, &held, q), 0);
        carvell::r2003::mc_free_geometry_set(&set);
        const int added = host_testing::count_objects() - before;
        HM_VD_delete_object(copy);
        HM_MODL_update();
        return added;
    }

    void expect_turned_rearward(Glass glass);

    mc_data_2003_s data_{};
    mc_outside_result_s result_{};
    mc_mirror_surface_s surface_{};
    tag_t caller_sheet_ = NULL_TAG, starting_sheet_ = NULL_TAG, rotated_ = NULL_TAG;
    double matrix_[12] = {};
    double prime_[3] = {};
    double eyes_[3][3] = {};
};

// After positioning: the left eye's sight line through the prime point
// reflected rearward, the glass's normal there the bisector, the outside
// result's angles those of the matrix, the matrix what moved the glass, and
// the sheet in use the rotated copy.
void Release2003MirrorPositionTest::expect_turned_rearward(Glass glass) {
    set_up(glass);
    const double outboard[3] = {0, -1, 0}, up[3] = {0, 0, 1}, rearward[3] = {1, 0, 0};
    tag_t held = NULL_TAG, face = NULL_TAG;
    double corner[3];
    ASSERT_EQ(carvell::r2003::mc_ask_sheet_extreme_point(caller_sheet_, outboard, up, rearward, &held, &face, corner),
              0);
    const double caller_area = host_testing::surface_area(caller_sheet_);
    ASSERT_EQ(position(), 0);

    // The prime point is the pivot: it stays where it is, on the glass.
    expect_point(prime_, kGlassCentre, 1e-6);
    EXPECT_LT(rearward_error(), kAngleTolerance * std::sqrt(2.0));
    const Point3 e = unit(sub(point(result_.left_eye), kGlassCentre));
    EXPECT_LT(angle_between(point(surface_.normal), unit({e[0] + 1, e[1], e[2]})), kAngleTolerance);
    expect_point(surface_.vertex, kGlassCentre, 1e-9);
    // Without head rotation the eyes are the outside result's.
    expect_point(eyes_[0], point(result_.left_eye), 0.0);
    expect_point(eyes_[1], point(result_.mid_eye), 0.0);
    expect_point(eyes_[2], point(result_.right_eye), 0.0);

    const std::vector<double> expected =
        turn_about(kGlassCentre, result_.mirror_rotation_angle_pv, result_.mirror_rotation_angle_ls);
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(matrix_[i], expected[i], 1e-9) << i;
    EXPECT_GT(std::fabs(result_.mirror_rotation_angle_pv), 10.0);
    // The caller's corner turned by the matrix lies on the rotated glass, and
    // the rotated glass on the turned surface (s(P) = 0).
    EXPECT_LT(distance_to(rotated_, moved_by(matrix_, point(corner))), 1e-6);
    EXPECT_GT(distance_to(rotated_, point(corner)), 1.0);
    double far_corner[3];
    ASSERT_EQ(carvell::r2003::mc_ask_sheet_extreme_point(rotated_, up, rearward, outboard, &held, &face, far_corner),
              0);
    const Point3 w = sub(point(far_corner), point(surface_.vertex));
    EXPECT_NEAR(dot(point(surface_.normal), w) + 0.5 * surface_.curvature * dot(w, w), 0.0, 1e-6);

    // The rotated copy is the sheet in use; the copy it replaced is gone and
    // the caller's sheet is where it was.
    EXPECT_EQ(data_.mirror_sheet, rotated_);
    HM_MODL_update();
    EXPECT_EQ(HM_OBJ_ask_status(rotated_), HM_OBJ_ALIVE);
    EXPECT_NE(HM_OBJ_ask_status(starting_sheet_), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(caller_sheet_), HM_OBJ_ALIVE);
    EXPECT_NEAR(host_testing::surface_area(caller_sheet_), caller_area, 1e-9);
    EXPECT_LT(distance_to(caller_sheet_, point(corner)), 1e-9);
}

TEST_F(Release2003MirrorPositionTest, AFlatGlassIsTurnedToReflectTheSightLineRearward) {
    expect_turned_rearward(Glass::flat);
}

TEST_F(Release2003MirrorPositionTest, AConvexGlassIsTurnedToReflectTheSightLineRearward) {
    expect_turned_rearward(Glass::convex);
}

// A glass that already faces the bisector needs no turn: the iteration ends
// after its first pass, so the copy it started from is the only one replaced,
// and nothing else is left in the part.
TEST_F(Release2003MirrorPositionTest, WithoutABezelTheIterationEndsOnceTheAimIsStable) {
    const Point3 e = unit(sub({2500, -402.5, 1155}, kGlassCentre));
    set_up(Glass::flat, {e[0] + 1, e[1], e[2]});
    const int sheet = objects_of_a_used_sheet();
    const int before = host_testing::count_objects();
    ASSERT_EQ(position(), 0);
    const int after = host_testing::count_objects();
    HM_MODL_update();
    EXPECT_EQ(after - host_testing::count_objects(), sheet);   // one copy replaced, waiting for the update
    EXPECT_EQ(host_testing::count_objects(), before);
    EXPECT_NEAR(result_.mirror_rotation_angle_pv, 0.0, 1e-9);
    EXPECT_NEAR(result_.mirror_rotation_angle_ls, 0.0, 1e-9);
    EXPECT_LT(rearward_error(), 1e-6);

    // Facing along x, the same glass takes passes to settle.
    set_up(Glass::flat);
    const int unturned = host_testing::count_objects();
    ASSERT_EQ(position(), 0);
    const int replaced = host_testing::count_objects();
    HM_MODL_update();
    EXPECT_GE(replaced - host_testing::count_objects(), 2 * sheet);
    EXPECT_EQ(host_testing::count_objects(), unturned);
}

// The prime point at the glass's centre lies 40 below the centre of the
// bezel's opening (radius 25) as the left eye sees it: it moves onto the
// glass that the opening leaves visible, and is reflected rearward there.
TEST_F(Release2003MirrorPositionTest, WithABezelThePrimePointEndsOnTheVisibleGlass) {
    for (Glass glass : {Glass::flat, Glass::convex}) {
        SCOPED_TRACE(glass == Glass::flat ? "flat" : "convex R 1400");
        set_up(glass);
        const Point3 opening = {1900, -1000, 1040};
        add_bezel(opening);
        const int before = host_testing::count_objects();
        const size_t blocks = host_testing::live_allocations();
        ASSERT_EQ(position(), 0);
        // Where the sight line from the eye through the prime point crosses
        // the bezel's plane: within the opening, on its edge.
        const Point3 eye = point(eyes_[0]), p = point(prime_);
        const double t = (opening[0] - eye[0]) / (p[0] - eye[0]);
        const Point3 crossing = {eye[0] + t * (p[0] - eye[0]), eye[1] + t * (p[1] - eye[1]),
                                 eye[2] + t * (p[2] - eye[2])};
        EXPECT_NEAR(support::distance(crossing, opening), 25.0, 0.05);
        // On the turned glass (s(P) = 0), reflected rearward.
        const Point3 w = sub(p, point(surface_.vertex));
        EXPECT_NEAR(dot(point(surface_.normal), w) + 0.5 * surface_.curvature * dot(w, w), 0.0, 1e-6);
        EXPECT_LT(rearward_error(), kAngleTolerance * std::sqrt(2.0));
        // The joined bezel, the reflected outline, the sheets and the probe
        // point are gone; the replaced copies leave at the update.
        HM_MODL_update();
        EXPECT_EQ(host_testing::count_objects(), before);
        EXPECT_EQ(host_testing::live_allocations(), blocks);
    }
}

TEST_F(Release2003MirrorPositionTest, AFailingStepEndsThePositioningWithItsCodeAndLeavesNothing) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        int code;
    } cases[] = {
        {"no outline face in the record", [this] { carvell::r2003::mc_free_geometry_set(&data_.mirror_set); }, 1},
        // The aim cannot bisect an eye straight ahead of the point and rearward.
        {"the prime point straight behind the eye",
         [this] {
             const double behind[3] = {result_.left_eye[0] + 100, result_.left_eye[1], result_.left_eye[2]};
             std::memcpy(data_.prime, behind, sizeof behind);
         },
         3},
        {"no sheet in use", [this] { data_.mirror_sheet = NULL_TAG; }, 2},
        // Sight lines through a bezel behind the eyes point away from the glass.
        {"a bezel behind the eye", [this] { add_bezel({2600, -402.5, 1155}); }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        set_up(Glass::flat);
        c.spoil();
        const int before = host_testing::count_objects();
        const size_t blocks = host_testing::live_allocations();
        EXPECT_EQ(position(), c.code);
        HM_MODL_update();
        EXPECT_EQ(host_testing::count_objects(), before);
        EXPECT_EQ(host_testing::live_allocations(), blocks);
    }
}

TEST_F(Release2003MirrorPositionTest, BadInputIsRefusedWithNothingBuilt) {
    set_up(Glass::flat);
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::function<void(mc_data_2003_s&, mc_mirror_surface_s&, mc_outside_result_s&)> spoil;
    } cases[] = {
        {"as it is, but a null argument", {}},
        {"a pivot not a number",
         [](mc_data_2003_s& d, mc_mirror_surface_s&, mc_outside_result_s&) { d.pivot[1] = nan; }},
        {"a surface normal not finite",
         [](mc_data_2003_s&, mc_mirror_surface_s& s, mc_outside_result_s&) { s.normal[0] = INFINITY; }},
        {"an eye not a number",
         [](mc_data_2003_s&, mc_mirror_surface_s&, mc_outside_result_s& r) { r.left_eye[2] = nan; }},
        {"no distance tolerance",
         [](mc_data_2003_s& d, mc_mirror_surface_s&, mc_outside_result_s&) { d.distance_tolerance = 0.0; }},
    };
    const int before = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_data_2003_s data = data_;
        mc_mirror_surface_s surface = surface_;
        mc_outside_result_s result = result_;
        double matrix[12] = {7}, prime[3] = {7, 7, 7}, eyes[3][3] = {{7}};
        tag_t rotated = 7;
        if (c.spoil) {
            c.spoil(data, surface, result);
            EXPECT_EQ(HM_VD_MC_pro_position_outside_mirror(&data, &surface, &result, matrix, &rotated, prime, eyes),
                      -1);
        } else {
            // Each argument null in turn, the others good.
            for (int null_one = 0; null_one < 7; ++null_one) {
                SCOPED_TRACE(null_one);
                const auto given = [null_one](int i, auto* pointer) { return i == null_one ? nullptr : pointer; };
                EXPECT_EQ(HM_VD_MC_pro_position_outside_mirror(given(0, &data), given(1, &surface), given(2, &result),
                                                               given(3, matrix), given(4, &rotated), given(5, prime),
                                                               given(6, eyes)),
                          -1);
            }
        }
        EXPECT_EQ(matrix[0], 7.0);
        EXPECT_EQ(rotated, 7u);
        EXPECT_EQ(prime[0], 7.0);
        EXPECT_EQ(eyes[0][0], 7.0);
        EXPECT_EQ(data.mirror_sheet, starting_sheet_);
        EXPECT_EQ(host_testing::count_objects(), before);
    }
}

}  // namespace
