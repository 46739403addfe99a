// Instrument-panel visibility: section tangents, support points, polar
// planes, the common tangent plane, cut-off eye points, the visual-indicator
// planes and the planes placed through curves and faces.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "omvra.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

class IpvEyellipseTest : public HostTest {
protected:
    static bool Logged(const std::string& text) {
        const auto& log = host_testing::syslog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
    static void ExpectPoint(const double* got, double x, double y, double z, double tol) {
        EXPECT_NEAR(got[0], x, tol);
        EXPECT_NEAR(got[1], y, tol);
        EXPECT_NEAR(got[2], z, tol);
    }
    static constexpr double kTol[2] = {0.01, 0.5};
};

TEST_F(IpvEyellipseTest, SectionTangentsMatchThePolarLineConstruction) {
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 100, 100);
    // From (200, 0) the tangents touch the circle of radius 100 at x = 100^2 /
    // 200 = 50, y = +-sqrt(100^2 - 50^2); a height above the section is dropped.
    const double p[3] = {200, 0, 40};
    int count = 0;
    double pts[2][3];
    ASSERT_EQ(ipv_ask_section_tangent_points(&e, p, kTol, 0, 0, &count, pts), 0);
    ASSERT_EQ(count, 2);
    const double y = std::sqrt(100.0 * 100.0 - 50.0 * 50.0);
    EXPECT_NEAR(pts[0][0], 50.0, 1e-6);
    EXPECT_NEAR(pts[1][0], 50.0, 1e-6);
    EXPECT_NEAR(std::fabs(pts[0][1]), y, 1e-6);
    EXPECT_NEAR(pts[0][1], -pts[1][1], 1e-6);
    EXPECT_NEAR(pts[0][2], 0.0, 1e-9);
    // A point inside the section has none.
    const double inside[3] = {10, 0, 0};
    EXPECT_EQ(ipv_ask_section_tangent_points(&e, inside, kTol, 0, 0, &count, pts), -1);
}

TEST_F(IpvEyellipseTest, SupportPointsLieOnTheEyellipseWithTheirNormalAlongTheDirection) {
    // Semi-axes 100, 50, 30: half the stored full lengths.
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 50, 30);
    const struct {
        Point3 direction;
        Point3 want;
    } cases[] = {
        {{0, 0, -1}, {0, 0, -30}},   // along an axis, negative: its negative end
        {{-2, 0, 0}, {-100, 0, 0}},
        {{1, 1, 0}, {10000 / std::sqrt(12500.0), 2500 / std::sqrt(12500.0), 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direction[0]);
        double d[3] = {c.direction[0], c.direction[1], c.direction[2]}, p[3];
        ASSERT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point1(&e, 0, d, p), 0);
        ExpectPoint(p, c.want[0], c.want[1], c.want[2], 1e-9);
        // On the ellipsoid, and its gradient there is parallel to d (unitised in place).
        EXPECT_NEAR(p[0] * p[0] / 1e4 + p[1] * p[1] / 2500 + p[2] * p[2] / 900, 1.0, 1e-12);
        const double g[3] = {p[0] / 1e4, p[1] / 2500, p[2] / 900};
        const double gn = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(g[k] / gn, d[k], 1e-12);
    }
}

TEST_F(IpvEyellipseTest, BadEyeTypesAndUninitialisedEyellipsesAreRefusedWithTheirMessages) {
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 50, 30);
    double d[3] = {1, 0, 0}, p[3], n[3];
    EXPECT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point1(&e, 2, d, p), -1);
    EXPECT_TRUE(Logged("invalid eyellipse type"));
    vd_eyellipse_t empty = vision_test::axis_ellipsoid(100, 0, 30);
    EXPECT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point1(&empty, 0, d, p), -1);
    EXPECT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point2(&empty, 0, d, p, n), -1);
    EXPECT_TRUE(Logged("eyellipse is not initialized "));
    double zero[3] = {0, 0, 0};
    EXPECT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point1(&e, 0, zero, p), -1);
    EXPECT_TRUE(Logged("invalid input"));
}

TEST_F(IpvEyellipseTest, PolarPlaneHoldsTheTangencyPointsAndRefusesAnInsidePoint) {
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 50, 30);
    const double p[3] = {200, 100, 0};
    double o[3], n[3];
    ASSERT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point2(&e, 0, p, o, n), 0);
    // x px / a^2 + y py / b^2 = 1: the point (a^2 / px, 0, 0), normal ~ (0.02, 0.04, 0).
    ExpectPoint(o, 50, 0, 0, 1e-9);
    ExpectPoint(n, 1 / std::sqrt(5.0), 2 / std::sqrt(5.0), 0, 1e-9);
    // The section's tangency points from P lie on that plane.
    int count = 0;
    double pts[2][3];
    ASSERT_EQ(ipv_ask_section_tangent_points(&e, p, kTol, 0, 0, &count, pts), 0);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const double side = (pts[i][0] - o[0]) * n[0] + (pts[i][1] - o[1]) * n[1] + (pts[i][2] - o[2]) * n[2];
        EXPECT_NEAR(side, 0.0, 1e-6);
    }
    const double inside[3] = {10, 5, 1};
    EXPECT_EQ(HM_VD_ipv_ask_eyellipse_tangent_point2(&e, 0, inside, o, n), -1);
    EXPECT_TRUE(Logged("Unable to find tangent point on eyellipse"));
}

TEST_F(IpvEyellipseTest, CommonTangentPlaneTouchesBothTheEyellipseAndTheSectionCurve) {
    // Sphere of radius 100; the section circle of radius 50 about (0, 0, 100)
    // in the plane y = 0. Tangency where r + c cos(phi) = 100: phi = +-60 deg,
    // T = 100 (sin phi, 0, cos phi), P = (50 sin phi, 0, 100 + 50 cos phi).
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 100, 100);
    const tag_t circle = host_testing::make_arc({0, 0, 100}, 50.0, 0.0, 2 * kPi, {1, 0, 0}, {0, 0, 1});
    double t[3], n[3];
    tag_t plane = 0;
    ASSERT_EQ(HM_VD_ipv_create_common_tangent_plane(&e, 0, circle, 0.005, t, n, &plane), 0);
    EXPECT_NE(plane, 0u);
    EXPECT_NEAR(std::fabs(t[0]), 100 * std::sin(60 * kDeg), 0.5);
    EXPECT_NEAR(t[2], 50.0, 0.5);
    EXPECT_NEAR(std::fabs(n[0]), std::sin(60 * kDeg), 0.005);
    EXPECT_NEAR(n[2], 0.5, 0.005);
    double o[3], pn[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, pn), 0);
    ExpectPoint(o, t[0], t[1], t[2], 1e-9);
    // Curve 0 is refused.
    EXPECT_EQ(HM_VD_ipv_create_common_tangent_plane(&e, 0, 0, 0.005, t, n, &plane), -1);
    EXPECT_EQ(plane, 0u);
    EXPECT_TRUE(Logged("invalid section curve"));
}

TEST_F(IpvEyellipseTest, HubEyePointsAreTheLowerTangentsOfTheOuterEllipsoids) {
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 100, 100);
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, origin[3] = {0, 0, 0};
    const double a[3] = {500, 0, 0}, b[3] = {600, 0, 0};
    // The hub object: a point on the plane through A normal to A - B.
    hm_list_p_t objects = support::make_list({host_testing::make_point({500, 0, -200})});
    double eye1[3], eye2[3];
    ASSERT_EQ(HM_VD_ipv_ask_eyepoint_of_hub_analysis(origin, identity, a, b, objects, &e, kTol, eye1, eye2), 0);
    // Tangents from (500, -200) to the circle of radius 100 in x-z: the lower
    // one touches at (-19.25, -98.13).
    const double d2 = 500.0 * 500 + 200.0 * 200, base = 1e4 / d2, off = 100 * std::sqrt(d2 - 1e4) / d2;
    const double x = 500 * base - 200 * off, z = -200 * base - 500 * off;
    ExpectPoint(eye1, x, -30, z, 1e-6);
    ExpectPoint(eye2, x, 30, z, 1e-6);
    EXPECT_EQ(HM_VD_ipv_ask_eyepoint_of_hub_analysis(origin, identity, a, b, nullptr, &e, kTol, eye1, eye2), -1);
    EXPECT_TRUE(Logged("input null"));
    // The temporary plane is gone.
    EXPECT_EQ(HM_OBJ_cycle_objs_in_part(part_, HM_plane_type, 0), 0u);
    HM_MODL_delete_list(&objects);
}

TEST_F(IpvEyellipseTest, VisualIndicatorPlanesPassThroughSupportPointsTurnedByTheirAngles) {
    vd_eyellipse_t e = vision_test::axis_ellipsoid(100, 100, 100);
    const double angles[4] = {10, 20, 99, 30};
    tag_t planes[4];
    ASSERT_EQ(HM_VD_ipv_ask_visual_indicator_boundary_plane(&e, angles, planes), 0);
    const struct {
        Point3 origin;
        Point3 normal;
    } want[4] = {
        {{-100, 30, 0}, {std::sin(10 * kDeg), std::cos(10 * kDeg), 0}},
        {{-100, -30, 0}, {std::sin(20 * kDeg), -std::cos(20 * kDeg), 0}},
        {{0, 30, -100}, {0, 0, -1}},
        {{-100, -30, 0}, {0.5, 0, -std::cos(30 * kDeg)}},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        double o[3], n[3];
        ASSERT_EQ(HM_MODL_ask_plane(planes[i], o, n), 0);
        ExpectPoint(o, want[i].origin[0], want[i].origin[1], want[i].origin[2], 1e-9);
        ExpectPoint(n, want[i].normal[0], want[i].normal[1], want[i].normal[2], 1e-9);
    }
}

TEST_F(IpvEyellipseTest, CentroidOfAClosedChainIsItsCentreWithEachJointCountedOnce) {
    // Each chain is symmetric about its centre (5, -3, 12), so the centroid
    // of its points is that centre; a closing point or a joint pooled twice
    // would pull it towards that point by about r / (points + 1).
    const Point3 centre = {5, -3, 12};
    const Point3 u = {0.6, 0.8, 0}, v = {0, 0, 1}, minus_v = {0, 0, -1};
    auto at = [&](double r, double angle) {
        return Point3{centre[0] + r * (std::cos(angle) * u[0] + std::sin(angle) * v[0]),
                      centre[1] + r * (std::cos(angle) * u[1] + std::sin(angle) * v[1]),
                      centre[2] + r * (std::cos(angle) * u[2] + std::sin(angle) * v[2])};
    };
    struct Case {
        const char* name;
        std::function<std::vector<tag_t>()> make;
    };
    const std::vector<Case> cases = {
        {"a small full circle (radius 3, few points)", [&] { return std::vector<tag_t>{host_testing::make_arc(centre, 3.0, 0.0, 2 * kPi, u, v)}; }},
        {"a full circle of radius 40", [&] { return std::vector<tag_t>{host_testing::make_arc(centre, 40.0, 0.0, 2 * kPi, u, v)}; }},
        {"a regular hexagon of lines, one run backwards",
         [&] {
             std::vector<tag_t> sides;
             for (int i = 0; i < 6; ++i)
                 sides.push_back(i == 3 ? host_testing::make_line(at(10.0, (i + 1) * kPi / 3), at(10.0, i * kPi / 3))
                                        : host_testing::make_line(at(10.0, i * kPi / 3), at(10.0, (i + 1) * kPi / 3)));
             return sides;
         }},
        // At radius 23.5 the chord tolerance spaces the points 9 degrees
        // apart on every arc, so the chain's points are those of the circle;
        // its three joints lie on one side of the centre.
        {"arcs of 180, 90 and 90 degrees, the last running clockwise, listed out of order",
         [&] {
             const tag_t a = host_testing::make_arc(centre, 23.5, 0.0, kPi, u, v);
             const tag_t b = host_testing::make_arc(centre, 23.5, kPi, 1.5 * kPi, u, v);
             // Angles measured from u towards -v: 0 .. 90 deg clockwise is
             // the arc from 360 back to 270 deg counter-clockwise.
             const tag_t c = host_testing::make_arc(centre, 23.5, 0.0, kPi / 2, u, minus_v);
             return std::vector<tag_t>{b, c, a};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t curves = support::make_list(c.make());
        double got[3] = {-7, -7, -7};
        ASSERT_EQ(HM_VD_ipv_ask_centroid_of_curve_chain(curves, got), 0);
        ExpectPoint(got, centre[0], centre[1], centre[2], 1e-6);
        HM_MODL_delete_list(&curves);
    }
}

TEST_F(IpvEyellipseTest, PlanesThroughCurveChains) {
    // Two half circles of radius 40 about (10, 20, 30) in the plane x = 10,
    // meeting at two joints.
    const tag_t upper = host_testing::make_arc({10, 20, 30}, 40.0, 0.0, kPi, {0, 1, 0}, {0, 0, 1});
    const tag_t lower = host_testing::make_arc({10, 20, 30}, 40.0, kPi, 2 * kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t curves = support::make_list({upper, lower});
    double c[3];
    ASSERT_EQ(HM_VD_ipv_ask_centroid_of_curve_chain(curves, c), 0);
    ExpectPoint(c, 10, 20, 30, 1e-6);
    tag_t plane = 0;
    ASSERT_EQ(HM_VD_ipv_create_leastsq_plane(curves, &plane), 0);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    EXPECT_NEAR(std::fabs(n[0]), 1.0, 1e-9);
    // Behind the chain seen from an eye on the +x side: 15 further down -x.
    const double eye[3] = {500, 0, 0};
    ASSERT_EQ(HM_VD_ipv_create_plane_behind_curve_chain(curves, eye, 15.0, &plane), 0);
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    EXPECT_NEAR(o[0], -5.0, 1e-6);
    EXPECT_NEAR(n[0], 1.0, 1e-9);
    EXPECT_EQ(HM_VD_ipv_ask_centroid_of_curve_chain(nullptr, c), -1);
    EXPECT_EQ(HM_VD_ipv_create_leastsq_plane(nullptr, &plane), -1);
    EXPECT_EQ(plane, 0u);
    HM_MODL_delete_list(&curves);
}

TEST_F(IpvEyellipseTest, PanelPlaneOfFacesMovesBackToTheFarthestBoxCorner) {
    const double corner[3] = {0, 0, 0}, size[3] = {100, 100, 50};
    const tag_t box = host_testing::make_box(corner, size);
    tag_t top = 0;
    for (tag_t f : support::faces_of(box)) {
        double b[6];
        HM_MODL_ask_bounding_box(f, b);
        if (b[2] > 49.0) top = f;
    }
    hm_list_p_t faces = support::make_list({top});
    const double eye[3] = {50, 50, 500};
    tag_t plane = 0;
    ASSERT_EQ(HM_VD_ipv_create_panel_plane(1, faces, eye, &plane), 0);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    // The top face's plane z = 50 holds the farthest corner of its flat box: no move.
    EXPECT_NEAR(o[2], 50.0, 1e-6);
    EXPECT_NEAR(std::fabs(n[2]), 1.0, 1e-9);
    // Ten sample points on each of the four edges stay in the part in colour 5.
    int points = 0;
    for (tag_t p = HM_OBJ_cycle_objs_in_part(part_, HM_point_type, 0); p; p = HM_OBJ_cycle_objs_in_part(part_, HM_point_type, p)) {
        int colour = 0;
        HM_OBJ_ask_color(p, &colour);
        EXPECT_EQ(colour, 5);
        ++points;
    }
    EXPECT_EQ(points, 40);
    // Mode 0 with a datum plane: a plane of its origin and normal.
    const tag_t datum = host_testing::make_datum_plane({1, 2, 3}, {0, 1, 0});
    hm_list_p_t datums = support::make_list({datum});
    ASSERT_EQ(HM_VD_ipv_create_panel_plane(0, datums, eye, &plane), 0);
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    ExpectPoint(o, 1, 2, 3, 1e-9);
    ExpectPoint(n, 0, 1, 0, 1e-9);
    HM_MODL_delete_list(&faces);
    HM_MODL_delete_list(&datums);
}

TEST_F(IpvEyellipseTest, CurveOnFaceSkipsTheCurvesEndPoint) {
    const double corner[3] = {0, 0, 0}, size[3] = {100, 100, 50};
    const tag_t box = host_testing::make_box(corner, size);
    tag_t top = 0;
    for (tag_t f : support::faces_of(box)) {
        double b[6];
        HM_MODL_ask_bounding_box(f, b);
        if (b[2] > 49.0) top = f;
    }
    const struct {
        Point3 a, b;
        bool on;
    } cases[] = {
        {{10, 10, 50}, {90, 90, 50}, true},
        {{10, 10, 51}, {90, 90, 51}, false},
        // Leaves the face only at parameter 1, which is not tested.
        {{0, 50, 50}, {200, 50, 50}, false},
        {{10, 50, 50}, {100.9, 50, 50}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.b[0]);
        bool on = !c.on;
        EXPECT_EQ(HM_VD_ipv_is_curve_on_face(host_testing::make_line(c.a, c.b), top, &on), 0);
        EXPECT_EQ(on, c.on);
    }
}

}  // namespace
