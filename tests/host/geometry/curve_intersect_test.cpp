// Intersection of objects: curve-plane crossings, curve-curve points, points
// against objects, sections of faces and bodies.
#include "ambrith.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using host_testing::Point3;
using support::kPi;

using Found = support::Intersection;

// Runs the intersection and frees what it hands back.
inline Found Intersect(tag_t a, tag_t b, double tolerance = 0.01) { return support::intersect(a, b, tolerance); }

double Parameter(tag_t curve, const Point3& p) {
    double t = -1, on[3];
    EXPECT_EQ(HM_MODL_ask_curve_parm(curve, p.data(), &t, on), 0);
    return t;
}

double Length(tag_t curve) {
    double length = 0;
    EXPECT_EQ(HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &length), 0);
    return length;
}

class CurvePlaneIntersectionTest : public HostTest {};

TEST_F(CurvePlaneIntersectionTest, ZigzagCrossesThreeTimesInParameterOrder) {
    // Equal chords: the plane x = 0 cuts each segment at its middle.
    tag_t zigzag = host_testing::make_spline({{-1, 0, 0}, {1, 1, 0}, {-1, 2, 0}, {1, 3, 0}}, 1);
    tag_t plane = host_testing::make_plane({0, 7, 7}, {1, 0, 0});
    Found f = Intersect(plane, zigzag);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.points.size(), 3u);
    support::expect_point(f.points[0], {0, 0.5, 0});
    support::expect_point(f.points[1], {0, 1.5, 0});
    support::expect_point(f.points[2], {0, 2.5, 0});
    ExpectNoLeaks();
}

TEST_F(CurvePlaneIntersectionTest, CubicCrossingsAreExactAndAscending) {
    tag_t wave = host_testing::make_spline({{0, -1, 0}, {1, 1, 0}, {2, -1, 0}, {3, 1, 0}, {4, -1, 0}, {5, 0.5, 0}});
    tag_t plane = host_testing::make_plane({0, 0.2, 0}, {0, 1, 0});
    Found f = Intersect(wave, plane, 1e-6);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.points.size(), 5u);
    double previous = -1;
    for (const Point3& p : f.points) {
        EXPECT_NEAR(p[1], 0.2, 1e-9) << "on the plane";
        double on[3], t = 0;
        ASSERT_EQ(HM_MODL_ask_curve_parm(wave, p.data(), &t, on), 0);
        support::expect_point({on[0], on[1], on[2]}, p, 1e-8);
        EXPECT_GT(t, previous);
        previous = t;
    }
}

TEST_F(CurvePlaneIntersectionTest, CircleParallelLineLineInPlaneAndTouchingEnd) {
    tag_t plane = host_testing::make_plane({0, 0, 0}, {0, 0, 1});
    tag_t circle = host_testing::make_arc({0, 0, 0}, 2.0, 0.0, 2 * kPi, {1, 0, 0}, {0, 0, 1});
    Found f = Intersect(circle, plane);
    ASSERT_EQ(f.points.size(), 2u);
    support::expect_point(f.points[0], {2, 0, 0});
    support::expect_point(f.points[1], {-2, 0, 0});

    tag_t above = host_testing::make_line({0, 0, 1}, {5, 0, 1});
    f = Intersect(above, plane);
    EXPECT_EQ(f.result, 0);
    EXPECT_TRUE(f.kinds.empty());
    EXPECT_TRUE(f.null_array);

    tag_t inside = host_testing::make_line({0, 0, 0}, {5, 5, 0});
    f = Intersect(plane, inside);
    ASSERT_EQ(f.kinds, std::vector<int>{2});
    EXPECT_NE(f.curves[0], inside) << "a new curve object";
    EXPECT_NEAR(Length(f.curves[0]), 5 * std::sqrt(2.0), 1e-9);

    tag_t ending = host_testing::make_line({1, 1, 3}, {1, 1, 0});
    f = Intersect(plane, ending);
    ASSERT_EQ(f.points.size(), 1u);
    support::expect_point(f.points[0], {1, 1, 0});
    ExpectNoLeaks();
}

class ObjectIntersectionTest : public HostTest {};

TEST_F(ObjectIntersectionTest, CurvesMeetingCurves) {
    tag_t a = host_testing::make_line({0, 0, 0}, {4, 4, 0});
    tag_t b = host_testing::make_line({0, 4, 0}, {4, 0, 0});
    Found f = Intersect(a, b);
    ASSERT_EQ(f.points.size(), 1u);
    support::expect_point(f.points[0], {2, 2, 0});

    // The unit circle and the parabola x = 0.5 - y^2 (vertex (0.5, 0), turned
    // half a turn to open towards -x) meet where x = (1 - sqrt 3) / 2.
    tag_t circle = host_testing::make_arc({0, 0, 0}, 1.0, 0.0, 2 * kPi);
    HM_CURVE_conic_t parabola = {0, HM_CONIC_parabola, kPi, -2.0, 2.0, {0.5, 0, 0}, 1.0, 0.0};
    tag_t p = 0;
    ASSERT_EQ(HM_CURVE_create_conic(&parabola, &p), 0);
    f = Intersect(circle, p, 1e-4);
    ASSERT_EQ(f.points.size(), 2u);
    for (const Point3& q : f.points) {
        EXPECT_NEAR(q[0], (1 - std::sqrt(3.0)) / 2, 1e-7);
        EXPECT_NEAR(std::fabs(q[1]), std::sqrt(0.5 - q[0]), 1e-7);
    }

    tag_t apart = host_testing::make_line({10, 10, 0}, {11, 10, 0});
    f = Intersect(apart, circle);
    EXPECT_EQ(f.result, 0);
    EXPECT_TRUE(f.points.empty());
    ExpectNoLeaks();
}

TEST_F(ObjectIntersectionTest, PointsAgainstObjects) {
    tag_t line = host_testing::make_line({0, 0, 0}, {4, 0, 0});
    tag_t on = host_testing::make_point({1, 0.005, 0});
    tag_t off = host_testing::make_point({1, 1, 0});
    Found f = Intersect(on, line);
    ASSERT_EQ(f.points.size(), 1u);
    support::expect_point(f.points[0], {1, 0.005, 0});
    EXPECT_TRUE(Intersect(off, line).points.empty());
    tag_t plane = host_testing::make_plane({0, 0, 1}, {0, 1, 1});
    tag_t in_plane = host_testing::make_point({7, 1, 0});
    EXPECT_EQ(Intersect(plane, in_plane).points.size(), 1u);
}

TEST_F(ObjectIntersectionTest, SectionsOfBodiesAndFaces) {
    const double corner[3] = {0, 0, 0}, size[3] = {2, 3, 4};
    tag_t box = host_testing::make_box(corner, size);
    tag_t plane = host_testing::make_plane({0, 0, 1}, {0, 0, 1});
    Found f = Intersect(plane, box);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.curves.size(), 4u);
    double total = 0;
    for (tag_t c : f.curves) {
        total += Length(c);
        double p[3], t[3], n[3], b[3], torsion, radius;
        ASSERT_EQ(HM_MODL_ask_curve_props(c, 0.5, p, t, n, b, &torsion, &radius), 0);
        EXPECT_NEAR(p[2], 1.0, 1e-9);
    }
    EXPECT_NEAR(total, 10.0, 1e-9);

    // A line through the box enters and leaves, in the line's order.
    tag_t line = host_testing::make_line({5, 1, 2}, {-5, 1, 2});
    f = Intersect(box, line);
    ASSERT_EQ(f.points.size(), 2u);
    support::expect_point(f.points[0], {2, 1, 2}, 1e-7);
    support::expect_point(f.points[1], {0, 1, 2}, 1e-7);
    EXPECT_LT(Parameter(line, f.points[0]), Parameter(line, f.points[1]));

    hm_list_p_t faces = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(box, &faces), 0);
    tag_t face = 0;
    ASSERT_EQ(HM_MODL_ask_list_item(faces, 0, &face), 0);
    HM_MODL_delete_list(&faces);
    f = Intersect(face, plane);
    EXPECT_EQ(f.curves.size(), 1u);
}

// A cone from a point through a polyline is flat between its rulings: a
// plane cuts it in the polyline seen from the apex, a straight piece per
// facet, not the thousands of points the section walks on the way.
TEST_F(ObjectIntersectionTest, SectionOfAConeThroughAPolylineIsThePolylineOfItsCorners) {
    // A zigzag of 12 corners, 10 apart along x, 5 either side of it.
    std::vector<Point3> corners;
    for (int i = 0; i < 12; ++i) corners.push_back({10.0 * i, i % 2 ? 5.0 : -5.0, 0});
    const tag_t polyline = host_testing::make_spline(corners, 1, false);
    const tag_t apex = host_testing::make_point({0, 0, 10});
    HM_STRING_LIST_t sections, spine;
    HM_MODL_init_string_list(&sections);
    HM_MODL_init_string_list(&spine);
    HM_MODL_create_string_list(2, 2, &sections);
    sections.curve_counts[0] = sections.curve_counts[1] = 1;
    sections.directions[0] = sections.directions[1] = 1;
    sections.curves[0] = apex;
    sections.curves[1] = polyline;
    double scratch[6] = {0};
    const double tolerances[3] = {0, 0, 0};
    tag_t cone = 0;
    // Rulings by parameter: the sheet keeps the polyline's corners.
    const int by_parameter = 1;
    ASSERT_EQ(HM_MODL_create_ruled1(&sections, &spine, by_parameter, scratch, 0, 0, 0, 0, tolerances, &cone), 0);
    HM_MODL_free_string_list(&sections);
    // The same cone cut off at x = 27 by a box: a trimmed sheet on the same
    // surface.
    const double corner[3] = {-100, -100, -100}, size[3] = {127, 200, 300};
    const tag_t box = host_testing::make_box(corner, size);
    int pieces = 0;
    tag_t* trimmed = nullptr;
    ASSERT_EQ(GQ_BODY_intersect_bodies(cone, 1, &box, &pieces, &trimmed), 0);
    ASSERT_EQ(pieces, 1);
    const tag_t cut_cone = trimmed[0];
    SM_free(trimmed);
    // Halfway down, the section is the polyline halved towards the apex: the
    // poles of its curves are the halved corners and nothing else (on the
    // cut cone, those short of x = 27 and the cut's end there). The walk used
    // to stop at the first corner and leave the middle out.
    const struct {
        const char* name;
        tag_t sheet;
        double end;   // x where the section ends
    } cases[] = {{"whole cone", cone, 55.0}, {"cone cut off at x = 27", cut_cone, 27.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Point3> expected;
        for (const Point3& k : corners)
            if (0.5 * k[0] <= c.end) expected.push_back({0.5 * k[0], 0.5 * k[1], 5.0});
        if (expected.back()[0] < c.end) {
            // The end lies on the piece towards the next corner.
            const Point3& a = corners[expected.size() - 1];
            const Point3& b = corners[expected.size()];
            const double t = (2.0 * c.end - a[0]) / (b[0] - a[0]);
            expected.push_back({c.end, 0.5 * (a[1] + t * (b[1] - a[1])), 5.0});
        }
        const Found f = Intersect(c.sheet, host_testing::make_plane({0, 0, 5}, {0, 0, 1}));
        ASSERT_EQ(f.result, 0);
        ASSERT_FALSE(f.curves.empty());
        std::vector<Point3> poles_found;
        for (tag_t curve : f.curves) {
            int n = 0, order = 0;
            double *knots = nullptr, *poles = nullptr;
            ASSERT_EQ(HM_CURVE_ask_spline_data(curve, &n, &order, &knots, &poles), 0);
            EXPECT_EQ(order, 2);
            for (int i = 0; i < n; ++i) {
                const Point3 p = {poles[4 * i], poles[4 * i + 1], poles[4 * i + 2]};
                const bool known = std::any_of(poles_found.begin(), poles_found.end(), [&](const Point3& q) {
                    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]) < 1e-4;
                });
                if (!known) poles_found.push_back(p);
            }
            SM_free(knots);
            SM_free(poles);
        }
        ASSERT_EQ(poles_found.size(), expected.size());
        for (const Point3& e : expected)
            EXPECT_TRUE(std::any_of(poles_found.begin(), poles_found.end(), [&](const Point3& q) {
                return std::hypot(q[0] - e[0], q[1] - e[1], q[2] - e[2]) < 1e-4;
            })) << e[0] << ", " << e[1];
    }
}

// Faces as the vision analyses meet them: a windshield-like tilted face
// against an upright one, and sight lines against a face.
TEST_F(ObjectIntersectionTest, FacesMeetFacesAndLinesWithinTheirBounds) {
    // Tilted: from (0, -50, 0) across y by 100 and up the slope (40, 0, 30);
    // upright: the plane x = 20 from y -100 to 100, z -10 to 50. They meet
    // where the slope reaches x = 20, at z = 15, along the tilted face's
    // whole width.
    const double c1[3] = {0, -50, 0}, w1[3] = {0, 100, 0}, up1[3] = {40, 0, 30};
    const double c2[3] = {20, -100, -10}, w2[3] = {0, 200, 0}, up2[3] = {0, 0, 60};
    const tag_t tilted = support::faces_of(host_testing::make_planar_sheet(c1, w1, up1))[0];
    const tag_t upright = support::faces_of(host_testing::make_planar_sheet(c2, w2, up2))[0];
    Found f = Intersect(tilted, upright);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.curves.size(), 1u);
    EXPECT_NEAR(Length(f.curves[0]), 100.0, 1e-7);
    const Point3 a = support::curve_point(f.curves[0], 0.0), b = support::curve_point(f.curves[0], 1.0);
    for (const Point3& p : {a, b}) {
        EXPECT_NEAR(p[0], 20.0, 1e-7);
        EXPECT_NEAR(p[2], 15.0, 1e-7);
        EXPECT_NEAR(std::fabs(p[1]), 50.0, 1e-7);
    }
    // A line through the tilted face's slope at its middle: one point, at
    // (20, 10, 15); the same line moved beyond its edge meets nothing.
    const tag_t through = host_testing::make_line({0, 10, 40}, {40, 10, -10});
    f = Intersect(through, tilted);
    ASSERT_EQ(f.points.size(), 1u);
    EXPECT_TRUE(f.curves.empty());
    // The line x = 4t, z = 40 - 5t meets z = 0.75 x where 40 - 5t = 3t: t = 5.
    support::expect_point(f.points[0], {20, 10, 15}, 1e-7);
    const tag_t beside = host_testing::make_line({0, 60, 40}, {40, 60, -10});
    f = Intersect(beside, tilted);
    EXPECT_EQ(f.result, 0);
    EXPECT_TRUE(f.points.empty());
    EXPECT_TRUE(f.curves.empty());
    ExpectNoLeaks();
}

TEST_F(ObjectIntersectionTest, BadInputCodes) {
    tag_t line = host_testing::make_line({0, 0, 0}, {4, 0, 0});
    int count = -1;
    HM_MODL_intersection_t** entries = nullptr;
    EXPECT_EQ(HM_MODL_intersect_objects(line, 0, 0.01, &count, &entries), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_intersect_objects(line, part_, 0.01, &count, &entries), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_intersect_objects(line, line, -1.0, &count, &entries), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_intersect_objects(line, line, 0.01, nullptr, &entries), HM_ERR_NULL_POINTER);
    EXPECT_EQ(count, -1);
}

}  // namespace
