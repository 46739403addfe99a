// Optics of the 2003 mirror-certification engine on small mirrors whose
// answers follow from the mirror-image construction and the symmetry of the
// set-up: the pierce point, the reflected ray, the aim rotation and the head
// turn, with their failure codes.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using support::expect_point;

const double kTolerances[2] = {0.01, 0.05};   // distance, angle (degrees)

// The plane z = 0 seen from above.
mc_mirror_surface_s plane_mirror() { return {{0, 0, 0}, 0.0, 0.0, {0, 0, 0}, {0, 0, 1}}; }

// A convex mirror of radius 100 whose vertex is the origin and whose axis
// points up: the sphere about (0, 0, -100).
mc_mirror_surface_s convex_mirror() { return {{0, 0, -100}, 0.01, 100.0, {0, 0, 0}, {0, 0, 1}}; }

class Release2003MirrorOpticsTest : public HostTest {};

TEST_F(Release2003MirrorOpticsTest, PiercePointsFollowTheMirrorImageAndTheSymmetry) {
    struct Case {
        const char* what;
        mc_mirror_surface_s mirror;
        double eye[3], target[3];
        double expected[3];
        double tolerance;
    } cases[] = {
        // The target's image below the plane is (10, 0, -10): the sight line
        // from the eye meets the plane half way.
        {"plane", plane_mirror(), {0, 0, 10}, {10, 0, 10}, {5, 0, 0}, 1e-12},
        // Eye and target mirror each other across the axis: the vertex.
        {"symmetric sphere", convex_mirror(), {-50, 0, 50}, {50, 0, 50}, {0, 0, 0}, 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double x[3] = {9, 9, 9};
        ASSERT_EQ(HM_VD_MC_pierce(kTolerances, &c.mirror, c.eye, c.target, x), 0);
        expect_point(x, {c.expected[0], c.expected[1], c.expected[2]}, c.tolerance);
    }
}

// A target within the distance tolerance of the mirror has its foot taken
// along the mirror normal nearest the eye, m(E) = unit(n + c (E - V)).
TEST_F(Release2003MirrorOpticsTest, ATargetOnTheMirrorHasItsFootAlongTheNormalNearestTheEye) {
    const mc_mirror_surface_s mirror = convex_mirror();
    const double eye[3] = {-50, 0, 50}, target[3] = {0, 0, 0.005};
    // s(T) = F(T) / (|n + c T| + 1) with F(T) = c |T|^2 + 2 n.T.
    const double f = (0.01 * 0.005 * 0.005 + 2 * 0.005) / (1.0 + 0.01 * 0.005 + 1.0);
    const double m[3] = {-0.5 / std::sqrt(2.5), 0.0, 1.5 / std::sqrt(2.5)};
    double x[3];
    ASSERT_EQ(HM_VD_MC_pierce(kTolerances, &mirror, eye, target, x), 0);
    expect_point(x, {target[0] - f * m[0], 0.0, target[2] - f * m[2]}, 1e-12);
}

TEST_F(Release2003MirrorOpticsTest, PierceFailuresHaveTheirCodes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    mc_mirror_surface_s negative = convex_mirror();
    negative.radius = -100.0;
    struct Case {
        const char* what;
        mc_mirror_surface_s mirror;
        double eye[3], target[3];
        int code;
    } cases[] = {
        {"eye behind the mirror", convex_mirror(), {0, 0, -10}, {50, 0, 50}, 1},
        // From 20 above the vertex the distance tolerance is seen under less
        // than the angle tolerance.
        {"eye and target the same point, far from the mirror", convex_mirror(), {0, 0, 20}, {0, 0, 20}, 4},
        // Both outside the sphere, the line between them through its inside.
        {"the sight line crosses the mirror", convex_mirror(), {-80, 0, -20}, {80, 0, -20}, 5},
        {"a negative radius", negative, {-50, 0, 50}, {50, 0, 50}, -1},
        {"a coordinate not a number", convex_mirror(), {nan, 0, 50}, {50, 0, 50}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double x[3] = {9, 9, 9};
        EXPECT_EQ(HM_VD_MC_pierce(kTolerances, &c.mirror, c.eye, c.target, x), c.code);
        if (c.code != 0) expect_point(x, {9, 9, 9}, 0.0);
    }
    // Eye and target the same point 5 above the vertex: its foot on the mirror.
    double x[3];
    const mc_mirror_surface_s mirror = convex_mirror();
    const double near[3] = {0, 0, 5};
    ASSERT_EQ(HM_VD_MC_pierce(kTolerances, &mirror, near, near, x), 0);
    expect_point(x, {0, 0, 0}, 1e-12);
    const double eye[3] = {-50, 0, 50};
    EXPECT_EQ(HM_VD_MC_pierce(nullptr, &mirror, eye, eye, x), -1);
    EXPECT_EQ(HM_VD_MC_pierce(kTolerances, nullptr, eye, eye, x), -1);
}

TEST_F(Release2003MirrorOpticsTest, ReflectionsOfRaysThatHitMissOrPointAway) {
    struct Case {
        const char* what;
        mc_mirror_surface_s mirror;
        double eye[3], through[3];
        int code;
        double point[3], direction[3];
    } cases[] = {
        {"plane hit", plane_mirror(), {0, 0, 10}, {1, 0, 9}, 0, {10, 0, 0}, {M_SQRT1_2, 0, M_SQRT1_2}},
        // Straight down the axis: back up from the vertex.
        {"sphere hit on the axis", convex_mirror(), {0, 0, 50}, {0, 0, 40}, 0, {0, 0, 0}, {0, 0, 1}},
        {"ray above the sphere misses", convex_mirror(), {-500, 0, 200}, {-400, 0, 200}, 3, {0, 0, 0}, {}},
        {"ray points away from the plane", plane_mirror(), {0, 0, 10}, {0, 0, 20}, 4, {0, 0, 0}, {}},
        {"ray points away from the sphere", convex_mirror(), {0, 0, 10}, {0, 0, 20}, 4, {0, 0, 0}, {}},
        {"ray along the plane", plane_mirror(), {0, 0, 10}, {1, 0, 10}, 4, {0, 0, 0}, {}},
        {"eye behind the sphere", convex_mirror(), {0, 0, -10}, {0, 0, -20}, 2, {0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double x[3] = {9, 9, 9}, r[3] = {9, 9, 9};
        EXPECT_EQ(HM_VD_MC_reflex(&c.mirror, c.eye, c.through, kTolerances, x, r), c.code);
        expect_point(x, {c.point[0], c.point[1], c.point[2]}, 1e-12);
        if (c.code == 0) expect_point(r, {c.direction[0], c.direction[1], c.direction[2]}, 1e-12);
    }
}

// A mirror whose normal already bisects the directions to eye and target
// needs no turn: the rotation about the pivot is the identity.
TEST_F(Release2003MirrorOpticsTest, AnAimedMirrorTurnsByTheIdentity) {
    const double pivot[3] = {0, 0, -5}, point[3] = {0, 0, 0}, normal[3] = {0, 0, 1};
    const double eye[3] = {-10, 0, 10}, target[3] = {10, 0, 10};
    double matrix[12];
    ASSERT_EQ(carvell::r2003::mc_ask_mirror_aim_rotation(kTolerances, pivot, point, normal, 0, eye, target, matrix),
              0);
    const double identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(matrix[i], identity[i], 1e-12) << i;
    // The eye on the mirror point cannot be aimed at.
    EXPECT_EQ(carvell::r2003::mc_ask_mirror_aim_rotation(kTolerances, pivot, point, normal, 0, point, target, matrix),
              1);
}

}  // namespace
