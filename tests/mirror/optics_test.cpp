// Mirror optics by hand: the plane pierce against the mirror-image
// construction, the sphere pierce whose normal bisects eye and target, the
// reflected ray, every status, and the head turn of the eye points.
#include "hm_vd_mc.h"
#include "host_fixture.h"
#include "mirror_fixtures.h"
#include "mirror_optics.h"
#include "mirror_record.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace carvell::mirror;
using P = std::array<double, 3>;

class MirrorOpticsTest : public HostTest {
protected:
    const double tolerances_[2] = {0.01, 0.05};
};

P sub(const P& a, const P& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const P& a, const P& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double len(const P& a) { return std::sqrt(dot(a, a)); }
P unit(const P& a) {
    const double l = len(a);
    return {a[0] / l, a[1] / l, a[2] / l};
}

using mirror_testing::plane_mirror;
using mirror_testing::sphere_mirror;

TEST_F(MirrorOpticsTest, PlanePierceMeetsTheLineToTheTargetsMirrorImage) {
    const mc_mirror_surface_record m = plane_mirror();
    // Image of T = (500, -200, 80) is (-500, -200, 80); the line from the eye
    // (300, 50, 20) crosses x = 0 at 300 / 800 of the way.
    const double eye[3] = {300, 50, 20}, target[3] = {500, -200, 80};
    double x[3];
    ASSERT_EQ(HM_VD_MC_pierce(tolerances_, &m, eye, target, x), 0);
    support::expect_point(x, {0.0, -43.75, 42.5}, 1e-9);
    // Equal distances: the midpoint of the feet.
    const double target2[3] = {300, -150, 60};
    ASSERT_EQ(HM_VD_MC_pierce(tolerances_, &m, eye, target2, x), 0);
    support::expect_point(x, {0.0, -50.0, 40.0}, 1e-9);
}

TEST_F(MirrorOpticsTest, SpherePierceOnTheAxisOfSymmetryIsTheVertex) {
    const mc_mirror_surface_record m = sphere_mirror();
    const double eye[3] = {-750 + 1600, -1000 + 300, 1000}, target[3] = {-750 + 1600, -1000 - 300, 1000};
    double x[3];
    ASSERT_EQ(HM_VD_MC_pierce(tolerances_, &m, eye, target, x), 0);
    support::expect_point(x, {650.0, -1000.0, 1000.0}, 0.01);
}

TEST_F(MirrorOpticsTest, SpherePierceNormalBisectsEyeAndTarget) {
    const mc_mirror_surface_record m = sphere_mirror();
    const P centre = {m.centre[0], m.centre[1], m.centre[2]};
    // The left ocular point of the example car and the far outer corner of a
    // 20 m by 4 m field behind the driver's mirror.
    const double eye[3] = {1250, -402.5, 1155}, target[3] = {1250 + 20000, -1000 - 4000, 0};
    double x[3];
    ASSERT_EQ(HM_VD_MC_pierce(tolerances_, &m, eye, target, x), 0);
    const P X = {x[0], x[1], x[2]};
    EXPECT_NEAR(len(sub(X, centre)), 1400.0, 0.01);
    const P k = unit(sub(X, centre));
    const P to_eye = unit(sub({eye[0], eye[1], eye[2]}, X));
    const P to_target = unit(sub({target[0], target[1], target[2]}, X));
    EXPECT_NEAR(std::acos(dot(k, to_eye)), std::acos(dot(k, to_target)), 1e-3);
    // Coplanar: the normal lies in the plane of the two sight lines.
    const P n = {to_eye[1] * to_target[2] - to_eye[2] * to_target[1], to_eye[2] * to_target[0] - to_eye[0] * to_target[2],
                 to_eye[0] * to_target[1] - to_eye[1] * to_target[0]};
    EXPECT_NEAR(dot(n, k), 0.0, 1e-4);

    // The reflected ray through that point leaves towards the target.
    double pierce[3], r[3];
    ASSERT_EQ(HM_VD_MC_reflex(&m, eye, x, tolerances_, pierce, r), 0);
    support::expect_point(pierce, {x[0], x[1], x[2]}, 1e-6);
    support::expect_point(r, {to_target[0], to_target[1], to_target[2]}, 2e-4);
}

TEST_F(MirrorOpticsTest, PlaneReflexMirrorsTheRay) {
    const mc_mirror_surface_record m = plane_mirror();
    const double eye[3] = {300, 50, 20}, through[3] = {0, -43.75, 42.5};
    double pierce[3], r[3];
    ASSERT_EQ(HM_VD_MC_reflex(&m, eye, through, tolerances_, pierce, r), 0);
    support::expect_point(pierce, {0.0, -43.75, 42.5}, 1e-9);
    const P to_target = unit({500.0, -156.25, 37.5});
    support::expect_point(r, {to_target[0], to_target[1], to_target[2]}, 1e-12);
}

TEST_F(MirrorOpticsTest, PierceStatuses) {
    const mc_mirror_surface_record sphere = sphere_mirror();
    const mc_mirror_surface_record plane = plane_mirror();
    mc_mirror_surface_record negative = sphere;
    negative.radius = -1400.0;
    struct Case {
        const char* what;
        const mc_mirror_surface_record* mirror;
        P eye, target;
        int status;
        bool written;
        P expected;
    };
    const Case cases[] = {
        {"eye inside the sphere", &sphere, {-650, -1000, 1000}, {2000, -1000, 1000}, 1, false, {}},
        {"eye and target together, coarse tolerance", &sphere, {750, -1000, 1000}, {750, -1000, 1000}, 4, false, {}},
        {"eye and target together near the glass", &sphere, {655, -1000, 1000}, {655, -1000, 1000}, 0, true,
         {650, -1000, 1000}},
        {"target on the glass", &sphere, {2000, -900, 1000}, {650.005, -1000, 1000}, 0, true, {650, -1000, 1000}},
        {"segment through the glass", &sphere, {750, -1000, 1000}, {550, -1000, 1000}, 5, false, {}},
        {"plane: both on the glass", &plane, {0.002, 5, 5}, {0.003, 80, 5}, 6, false, {}},
        {"plane: on either side, summing to zero", &plane, {10, 5, 5}, {-10, 80, 5}, 6, false, {}},
        {"negative radius", &negative, {2000, -900, 1000}, {2000, -1100, 1000}, -1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double x[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_MC_pierce(tolerances_, c.mirror, c.eye.data(), c.target.data(), x), c.status);
        if (c.written) support::expect_point(x, c.expected, 1e-6);
        if (c.status == -1) support::expect_point(x, {7, 7, 7});
    }
    double x[3];
    EXPECT_EQ(HM_VD_MC_pierce(nullptr, &sphere, x, x, x), -1);
    EXPECT_EQ(HM_VD_MC_pierce(tolerances_, nullptr, x, x, x), -1);
}

TEST_F(MirrorOpticsTest, ReflexStatuses) {
    const mc_mirror_surface_record sphere = sphere_mirror();
    struct Case {
        const char* what;
        P eye, through;
        int status;
    };
    const Case cases[] = {
        {"through the eye itself", {900, -1000, 1000}, {900, -1000, 1000}, 1},
        {"eye behind the glass", {-650, -1000, 1000}, {-700, -1000, 1000}, 2},
        {"ray passing beside the sphere", {900, -1000, 1000}, {900, 1000, 1000}, 3},
        {"ray pointing away", {900, -1000, 1000}, {1000, -1000, 1000}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double pierce[3] = {7, 7, 7}, r[3];
        EXPECT_EQ(HM_VD_MC_reflex(&sphere, c.eye.data(), c.through.data(), tolerances_, pierce, r), c.status);
        support::expect_point(pierce, {0, 0, 0});
    }
    double p[3];
    EXPECT_EQ(HM_VD_MC_reflex(nullptr, p, p, tolerances_, p, p), -1);
}

class HeadRotationTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        zero_fill(&data_);
        data_.eye_reference_point[1] = -370.0;      // driver inboard of the mirror: right eye looks
        data_.mirror_reference_point[1] = -1000.0;
    }
    mc_data_s data_;
    const double eyes_[3][3] = {{0, -32.5, 0}, {0, 0, 0}, {0, 32.5, 0}};
    const double pivot_[3] = {98.54, 0, 0};
};

TEST_F(HeadRotationTest, ThirtyDegreesAsideLeavesTheEyes) {
    const double target[3] = {100.0, 32.5 + 100.0 * std::tan(M_PI / 6.0), 0};
    double out[3][3], angle = 0;
    bool rotated = true;
    ASSERT_EQ(mc_apply_head_rotation(&data_, eyes_, pivot_, target, out, &angle, &rotated), 0);
    EXPECT_NEAR(angle, 30.0, 1e-12);
    EXPECT_FALSE(rotated);
    for (int i = 0; i < 3; ++i) support::expect_point(out[i], {eyes_[i][0], eyes_[i][1], eyes_[i][2]});
}

TEST_F(HeadRotationTest, FartherAsideTheHeadTurnsAboutThePivot) {
    // Reach 0.5 * (65 / (2 tan 30) + 98.54) / sin 30 makes the asin term 30
    // degrees, so the head turns by the target's bearing from the pivot, 70
    // degrees, towards it (negative: the target is at larger Y).
    const double reach = 65.0 / (2.0 * std::tan(M_PI / 6.0)) + 98.54;
    const double a = 70.0 * M_PI / 180.0;
    const double target[3] = {98.54 + reach * std::cos(a), reach * std::sin(a), 0};
    double out[3][3], angle = 0;
    bool rotated = false;
    ASSERT_EQ(mc_apply_head_rotation(&data_, eyes_, pivot_, target, out, &angle, &rotated), 0);
    EXPECT_TRUE(rotated);
    EXPECT_GT(angle, 30.0);
    support::expect_point(out[1], {98.54 - 98.54 * std::cos(a), 98.54 * std::sin(a), 0}, 1e-6);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const double before = std::hypot(eyes_[i][0] - 98.54, eyes_[i][1]);
        EXPECT_NEAR(std::hypot(out[i][0] - 98.54, out[i][1]), before, 1e-9);
    }
    EXPECT_EQ(mc_apply_head_rotation(nullptr, eyes_, pivot_, target, out, &angle, &rotated), -1);
}

}  // namespace

namespace {

class AimPlaneMirrorTest : public HostTest {
protected:
    const double tolerances_[2] = {0.01, 0.05};
};

TEST_F(AimPlaneMirrorTest, AnAimedMirrorStaysAndATurnedOneTurnsToTheBisector) {
    const double pivot[3] = {0, 0, 0}, point[3] = {0, 0, 0}, normal[3] = {1, 0, 0};
    const double eye[3] = {100, 100, 0};
    double m[12];
    const double aimed_target[3] = {100, -100, 0};
    ASSERT_EQ(mc_aim_plane_mirror(tolerances_, pivot, point, normal, 0, eye, aimed_target, m), 0);
    double q[3] = {1, 0, 0};
    hm5941(q, m);
    support::expect_point(q, {1, 0, 0}, 1e-12);

    // Eye at 45 degrees, target straight ahead: the normal turns 22.5 degrees.
    const double target[3] = {100, 0, 0};
    ASSERT_EQ(mc_aim_plane_mirror(tolerances_, pivot, point, normal, 0, eye, target, m), 0);
    double r[3] = {1, 0, 0};
    hm5941(r, m);
    support::expect_point(r, {std::cos(M_PI / 8), std::sin(M_PI / 8), 0}, 1e-9);
    // A fixed direction instead of a point gives the same turn.
    const double direction[3] = {1, 0, 0};
    ASSERT_EQ(mc_aim_plane_mirror(tolerances_, pivot, point, normal, 1, eye, direction, m), 0);
    double s[3] = {1, 0, 0};
    hm5941(s, m);
    support::expect_point(s, {std::cos(M_PI / 8), std::sin(M_PI / 8), 0}, 1e-9);
}

TEST_F(AimPlaneMirrorTest, APivotBehindTheGlassMovesItUntilTheNormalBisects) {
    const double pivot[3] = {-50, 0, 0}, point[3] = {0, 0, 0}, normal[3] = {1, 0, 0};
    const double eye[3] = {400, 300, 50}, target[3] = {3000, -200, -100};
    double m[12];
    ASSERT_EQ(mc_aim_plane_mirror(tolerances_, pivot, point, normal, 0, eye, target, m), 0);
    double p[3] = {0, 0, 0}, tip[3] = {1, 0, 0};
    hm5941(p, m);
    hm5941(tip, m);
    const P n = {tip[0] - p[0], tip[1] - p[1], tip[2] - p[2]};
    const P glass = {p[0], p[1], p[2]};
    const P to_eye = unit(sub({eye[0], eye[1], eye[2]}, glass));
    const P to_target = unit(sub({target[0], target[1], target[2]}, glass));
    const P bisector = unit({to_eye[0] + to_target[0], to_eye[1] + to_target[1], to_eye[2] + to_target[2]});
    EXPECT_GT(dot(n, bisector), std::cos(0.05 * M_PI / 180.0));
    // The glass point stays 50 from the pivot.
    EXPECT_NEAR(std::hypot(p[0] + 50, p[1], p[2]), 50.0, 1e-9);
}

TEST_F(AimPlaneMirrorTest, Statuses) {
    const double pivot[3] = {0, 0, 0}, point[3] = {0, 0, 0}, normal[3] = {1, 0, 0};
    const double far[3] = {100, 50, 0};
    double m[12];
    struct Case {
        const char* what;
        P eye, target;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"eye on the glass point", {0, 0, 0}, {100, 0, 0}, 1, "Error while unitize vector eyevector\n"},
        {"eye closer than the tolerance", {0.005, 0, 0}, {100, 0, 0}, 2,
         "the eye point is too close to the mirror or is on the wrong side of the mirror.\n"},
        {"target on the glass point", {100, 0, 0}, {0, 0, 0}, 1, "Error while unitize vector targetvector\n"},
        {"target closer than the tolerance", {100, 0, 0}, {0.001, 0, 0}, 3,
         "the target point is too close to the mirror or is on the wrong side of the mirror.\n"},
        {"eye and target exactly opposite", {100, 0, 0}, {-100, 0, 0}, 1, "Error while unitize vector bisector\n"},
        // Bisector 2e-4 long, below sin(0.05 degrees) = 8.7e-4.
        {"eye and target nearly opposite", {100, 0, 0}, {-100, 0.02, 0}, 4,
         "No solution can been found due to unusual location of eye and target points.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_testing::clear_sinks();
        EXPECT_EQ(mc_aim_plane_mirror(tolerances_, pivot, point, normal, 0, c.eye.data(), c.target.data(), m),
                  c.status);
        const std::vector<std::string>& lines = host_testing::error_lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), c.message);
    }
    EXPECT_EQ(mc_aim_plane_mirror(nullptr, pivot, point, normal, 0, far, far, m), -1);
}

}  // namespace
