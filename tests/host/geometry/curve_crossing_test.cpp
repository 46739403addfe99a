// Crossings of two curves: every crossing found, in the first curve's order,
// a tangential touch once, coplanar curves of every kind and curves in space.
#include "host_fixture.h"
#include "test_helpers.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;
using support::kPi;

using Found = support::Intersection;

// Runs the intersection and frees what it hands back.
inline Found Intersect(tag_t a, tag_t b, double tolerance) { return support::intersect(a, b, tolerance); }

// Normalised parameter of the curve point nearest to p, and how far p is from it.
double Parameter(tag_t curve, const Point3& p, double* off = nullptr) {
    double t = -1, on[3];
    EXPECT_EQ(HM_MODL_ask_curve_parm(curve, p.data(), &t, on), 0);
    if (off) *off = support::distance(p, {on[0], on[1], on[2]});
    return t;
}

// Parabola x = vertex + (s^2 / k1) x_axis + s y_axis for s in [s0, s1]
// (k1 four times the focal length).
tag_t MakeParabola(const Point3& vertex, const Point3& x_axis, const Point3& y_axis, double k1, double s0,
                   double s1) {
    const Point3 z = {x_axis[1] * y_axis[2] - x_axis[2] * y_axis[1], x_axis[2] * y_axis[0] - x_axis[0] * y_axis[2],
                      x_axis[0] * y_axis[1] - x_axis[1] * y_axis[0]};
    const double rows[9] = {x_axis[0], x_axis[1], x_axis[2], y_axis[0], y_axis[1], y_axis[2], z[0], z[1], z[2]};
    tag_t matrix = 0, curve = 0;
    if (HM_CSYS_create_matrix(rows, &matrix) != 0) return 0;
    HM_CURVE_conic_t conic{};
    conic.matrix_tag = matrix;
    conic.conic_type = HM_CONIC_parabola;
    conic.start_param = s0;
    conic.end_param = s1;
    for (int i = 0; i < 3; ++i)
        conic.center[i] = rows[3 * i] * vertex[0] + rows[3 * i + 1] * vertex[1] + rows[3 * i + 2] * vertex[2];
    conic.k1 = k1;
    return HM_CURVE_create_conic(&conic, &curve) == 0 ? curve : 0;
}

// The class A seat parabola of the H-point tool in a millimetre part, in the
// X-Z plane: L = 913.7 + 0.672316 H - 0.0019553 H^2 for H in [127, 405].
constexpr double kA = -0.0019553, kB = 0.672316, kC = 913.7;
double SeatL(double h) { return kC + kB * h + kA * h * h; }
tag_t MakeSeatParabola() {
    const double h_vertex = -kB / (2 * kA);
    return MakeParabola({SeatL(h_vertex), 0, h_vertex}, {-1, 0, 0}, {0, 0, 1}, 1 / std::fabs(kA), 127 - h_vertex,
                        405 - h_vertex);
}

// Full circle in the X-Z plane about (l, 0, h).
tag_t MakeSideCircle(double l, double h, double radius) {
    return host_testing::make_arc({l, 0, h}, radius, 0, 2 * kPi, {1, 0, 0}, {0, 0, 1});
}

// Seat-parabola points at distance `radius` from (l, h), found by sign
// changes of the distance along H and bisection.
std::vector<Point3> SeatCrossings(double l, double h, double radius) {
    auto gap = [&](double z) { return std::hypot(SeatL(z) - l, z - h) - radius; };
    std::vector<Point3> roots;
    constexpr int kSteps = 20000;
    for (int i = 0; i < kSteps; ++i) {
        double lo = 127 + 278.0 * i / kSteps, hi = 127 + 278.0 * (i + 1) / kSteps;
        if (gap(lo) * gap(hi) > 0 || (gap(hi) == 0 && i + 1 < kSteps)) continue;
        for (int k = 0; k < 100; ++k) {
            const double m = (lo + hi) / 2;
            (gap(lo) * gap(m) <= 0 ? hi : lo) = m;
        }
        const double z = (lo + hi) / 2;
        roots.push_back({SeatL(z), 0, z});
    }
    return roots;
}

// Each entry is a point lying on both curves, ascending along the first.
void ExpectCrossingsOnBoth(tag_t first, tag_t second, const Found& f, double tolerance) {
    double previous = -1;
    for (const Point3& p : f.points) {
        double off1 = 0, off2 = 0;
        const double t = Parameter(first, p, &off1);
        Parameter(second, p, &off2);
        EXPECT_LE(off1, tolerance) << "on the first curve";
        EXPECT_LE(off2, tolerance) << "on the second curve";
        EXPECT_GT(t, previous) << "in the first curve's order";
        previous = t;
    }
}

class CurveCrossingTest : public HostTest {};

TEST_F(CurveCrossingTest, SeatParabolaAgainstSideViewCircles) {
    // The reproducer: a knee circle meeting the seat parabola at H 200 and H 350.
    const tag_t parabola = MakeSeatParabola();
    ASSERT_NE(parabola, 0u);
    const double l0 = 383.22942026820283, h0 = 50.67969759696746, r0 = 605.4246439660187;
    const tag_t circle = MakeSideCircle(l0, h0, r0);
    Found f = Intersect(circle, parabola, 1e-4);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_EQ(f.kinds, (std::vector<int>{0, 0}));
    const Point3 low = {969.9512, 0, 200}, high = {909.48635, 0, 350};
    EXPECT_LT(support::distance(f.points[0], low), 1e-6);
    EXPECT_LT(support::distance(f.points[1], high), 1e-6);
    // Either way round: the parabola rises with its parameter, so the same order.
    f = Intersect(parabola, circle, 1e-4);
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_LT(support::distance(f.points[0], low), 1e-6);
    EXPECT_LT(support::distance(f.points[1], high), 1e-6);

    // Circles through two parabola points (centre on the chord's bisector,
    // `offset` in front of it, negative behind), against crossings found by
    // bisection along the parabola.
    struct Chord {
        double low_h, high_h, offset;
    } chords[] = {{200, 350, 1000}, {130, 400, 600}, {150, 300, 2000}, {180, 260, 300}, {140, 390, 450},
                  {128, 404, 800},  {250, 262, 500}, {160, 330, -700},  {210, 220, 5000}, {300, 400, 350},
                  {127.5, 200, 250}, {330, 390, -300}};
    for (const Chord& c : chords) {
        SCOPED_TRACE(std::to_string(c.low_h) + " " + std::to_string(c.high_h) + " " + std::to_string(c.offset));
        const double p1[2] = {SeatL(c.low_h), c.low_h}, p2[2] = {SeatL(c.high_h), c.high_h};
        const double n[2] = {p2[1] - p1[1], -(p2[0] - p1[0])}, len = std::hypot(n[0], n[1]);
        const double l = (p1[0] + p2[0]) / 2 - c.offset * n[0] / len, h = (p1[1] + p2[1]) / 2 - c.offset * n[1] / len;
        const double radius = std::hypot(p1[0] - l, p1[1] - h);
        const std::vector<Point3> expected = SeatCrossings(l, h, radius);
        ASSERT_GE(expected.size(), 2u);
        const tag_t side = MakeSideCircle(l, h, radius);
        // The circle first, as the H-point tool asks, and the other way round.
        for (const bool circle_first : {true, false}) {
            const Found g = circle_first ? Intersect(side, parabola, 1e-4) : Intersect(parabola, side, 1e-4);
            ASSERT_EQ(g.result, 0);
            EXPECT_EQ(g.points.size(), expected.size()) << (circle_first ? "circle first" : "parabola first");
            ExpectCrossingsOnBoth(circle_first ? side : parabola, circle_first ? parabola : side, g, 1e-6);
            if (circle_first || g.points.size() != expected.size()) continue;
            for (size_t i = 0; i < expected.size(); ++i) EXPECT_LT(support::distance(g.points[i], expected[i]), 1e-6) << i;
        }
    }
    ExpectNoLeaks();
}

// The point of the curve at a normalised parameter.
Point3 At(tag_t curve, double t) {
    double p[3], tangent[3], normal[3], binormal[3], torsion = 0, radius = 0;
    EXPECT_EQ(HM_MODL_ask_curve_props(curve, t, p, tangent, normal, binormal, &torsion, &radius), 0);
    return {p[0], p[1], p[2]};
}

// The unit tangent of the curve at a normalised parameter.
Point3 Tangent(tag_t curve, double t) {
    double p[3], tangent[3], normal[3], binormal[3], torsion = 0, radius = 0;
    EXPECT_EQ(HM_MODL_ask_curve_props(curve, t, p, tangent, normal, binormal, &torsion, &radius), 0);
    return {tangent[0], tangent[1], tangent[2]};
}

// Builds a curve of the work part.
using Make = std::function<tag_t()>;

struct CrossingCase {
    const char* name;
    Make first, second;
    double tolerance;
    std::vector<Point3> points;   // expected, in the first curve's order
};

TEST_F(CurveCrossingTest, CrossingsOfCurvePairs) {
    const double r3 = std::sqrt(3.0);
    // A plane tilted off the axes: x along (1, 1, 0)/sqrt 2, y along (-1, 1, 2)/sqrt 6.
    const double s2 = std::sqrt(2.0), s6 = std::sqrt(6.0);
    const Point3 tx = {1 / s2, 1 / s2, 0}, ty = {-1 / s6, 1 / s6, 2 / s6};
    auto tilted = [&](double x, double y) -> Point3 {
        return {10 + x * tx[0] + y * ty[0], -5 + x * tx[1] + y * ty[1], 3 + x * tx[2] + y * ty[2]};
    };
    // Nodes of a spline along a helix (not planar): it passes through them.
    auto helix = [](double t) -> Point3 { return {20 * std::cos(t), 20 * std::sin(t), 4 * t}; };
    std::vector<Point3> helix_nodes;
    for (int i = 0; i <= 8; ++i) helix_nodes.push_back(helix(i * 0.5));
    // The line through nodes 2 and 6, reaching a little past both.
    const Point3 h2 = helix_nodes[2], h6 = helix_nodes[6];
    auto along = [&](double s) -> Point3 {
        return {h2[0] + s * (h6[0] - h2[0]), h2[1] + s * (h6[1] - h2[1]), h2[2] + s * (h6[2] - h2[2])};
    };

    const tag_t helix_spline = host_testing::make_spline(helix_nodes);

    const std::vector<CrossingCase> cases = {
        {"circles in a tilted plane crossing twice",
         [&] { return host_testing::make_arc(tilted(0, 0), 5, 0, 2 * kPi, tx, ty); },
         [&] { return host_testing::make_arc(tilted(6, 0), 5, 0, 2 * kPi, tx, ty); }, 1e-4,
         {tilted(3, 4), tilted(3, -4)}},
        {"line touching a circle",
         [] { return host_testing::make_line({-10, 5, 0}, {10, 5, 0}); },
         [] { return host_testing::make_arc({0, 0, 0}, 5, 0, 2 * kPi); }, 0.01,
         {{0, 5, 0}}},
        {"circles touching inside",
         [] { return host_testing::make_arc({0, 0, 0}, 10, 0, 2 * kPi); },
         [] { return host_testing::make_arc({4, 0, 0}, 6, 0, 2 * kPi); }, 1e-4,
         {{10, 0, 0}}},
        {"ellipse and line",
         [] { return host_testing::make_line({2, -5, 1}, {2, 5, 1}); },
         [] { return host_testing::make_ellipse({0, 0, 1}, 4, 2); }, 1e-4,
         {{2, -r3, 1}, {2, r3, 1}}},
        {"arc of an ellipse meets the line once",
         [] { return host_testing::make_ellipse({0, 0, 0}, 4, 2, {1, 0, 0}, {0, 1, 0}, 0, kPi); },
         [] { return host_testing::make_line({2, -5, 0}, {2, 5, 0}); }, 1e-4,
         {{2, r3, 0}}},
        {"parabola in a tilted plane and a chord",
         [&] {
             const Point3 v = tilted(0, 0);
             return MakeParabola(v, tx, ty, 4, -3, 3);
         },
         [&] {
             // s^2 / 4 = 1 at s = -2 and 2.
             const Point3 a = tilted(1, -3), b = tilted(1, 3);
             return host_testing::make_line(a, b);
         },
         1e-4, {tilted(1, -2), tilted(1, 2)}},
        {"circle pierced by a line across its plane",
         [] { return host_testing::make_arc({0, 0, 0}, 3, 0, 2 * kPi); },
         [] { return host_testing::make_line({0, 3, -2}, {0, 3, 5}); }, 1e-4,
         {{0, 3, 0}}},
        {"helix spline and a line through two of its nodes",
         [&] { return host_testing::make_spline(helix_nodes); },
         [&] { return host_testing::make_line(along(-0.1), along(1.1)); }, 1e-4,
         {h2, h6}},
        {"spline touching a line at its lowest point",
         [] { return host_testing::make_spline({{-2, 4, 0}, {-1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {2, 4, 0}}); },
         [] { return host_testing::make_line({-3, 0, 0}, {3, 0, 0}); }, 1e-3,
         {{0, 0, 0}}},
        {"helix spline and its tangent line",
         [&] { return host_testing::make_spline(helix_nodes); },
         [&] {
             const Point3 p = At(helix_spline, 0.4), t = Tangent(helix_spline, 0.4);
             return host_testing::make_line({p[0] - 5 * t[0], p[1] - 5 * t[1], p[2] - 5 * t[2]},
                                            {p[0] + 5 * t[0], p[1] + 5 * t[1], p[2] + 5 * t[2]});
         },
         1e-3, {At(helix_spline, 0.4)}},
        {"skew lines",
         [] { return host_testing::make_line({0, 0, 0}, {4, 0, 0}); },
         [] { return host_testing::make_line({2, -2, 1}, {2, 2, 1}); }, 0.01,
         {}},
        {"parallel lines",
         [] { return host_testing::make_line({0, 0, 0}, {4, 0, 0}); },
         [] { return host_testing::make_line({0, 1, 0}, {4, 1, 0}); }, 0.01,
         {}},
        {"lines that would cross beyond their ends",
         [] { return host_testing::make_line({0, 0, 0}, {1, 1, 0}); },
         [] { return host_testing::make_line({4, 0, 0}, {3, 1, 0}); }, 0.01,
         {}},
        {"circle and a line ending on it",
         [] { return host_testing::make_arc({0, 0, 0}, 5, 0, 2 * kPi); },
         [] { return host_testing::make_line({3, 4, 0}, {9, 12, 0}); }, 1e-4,
         {{3, 4, 0}}},
    };
    for (const CrossingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const tag_t a = c.first(), b = c.second();
        ASSERT_NE(a, 0u);
        ASSERT_NE(b, 0u);
        const Found f = Intersect(a, b, c.tolerance);
        ASSERT_EQ(f.result, 0);
        EXPECT_EQ(f.kinds, std::vector<int>(c.points.size(), 0));
        ASSERT_EQ(f.points.size(), c.points.size());
        for (size_t i = 0; i < c.points.size(); ++i) EXPECT_LT(support::distance(f.points[i], c.points[i]), 1e-7) << i;
        // The other way round: the same points, in the second curve's order.
        const Found g = Intersect(b, a, c.tolerance);
        ASSERT_EQ(g.points.size(), c.points.size());
        for (const Point3& p : c.points) {
            double nearest = 1e9;
            for (const Point3& q : g.points) nearest = std::min(nearest, support::distance(p, q));
            EXPECT_LT(nearest, 1e-7);
        }
        ExpectCrossingsOnBoth(b, a, g, 1e-7);
    }
    ExpectNoLeaks();
}

TEST_F(CurveCrossingTest, SplineCrossesALineWhereItCrossesThePlaneThroughIt) {
    // A wave in the plane z = 2 against the line y = 0.2 in it: the same
    // crossings as the plane y = 0.2 gives.
    const tag_t wave = host_testing::make_spline(
        {{0, -1, 2}, {1, 1, 2}, {2, -1, 2}, {3, 1, 2}, {4, -1, 2}, {5, 0.5, 2}, {6, -0.4, 2}});
    const tag_t line = host_testing::make_line({7, 0.2, 2}, {-1, 0.2, 2});
    const tag_t plane = host_testing::make_plane({0, 0.2, 0}, {0, 1, 0});
    const Found across = Intersect(wave, plane, 1e-6);
    ASSERT_EQ(across.points.size(), 6u);
    const Found f = Intersect(wave, line, 1e-6);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.points.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_LT(support::distance(f.points[i], across.points[i]), 1e-8) << i;
    // From the line, which runs towards -x: the crossings come in reverse.
    const Found g = Intersect(line, wave, 1e-6);
    ASSERT_EQ(g.points.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_LT(support::distance(g.points[i], across.points[5 - i]), 1e-8) << i;
    ExpectNoLeaks();
}

TEST_F(CurveCrossingTest, CurvesRunningTogetherGiveTheSharedStretch) {
    // Collinear lines overlapping from x = 2 to x = 4: one curve, along the first.
    const tag_t a = host_testing::make_line({0, 0, 0}, {4, 0, 0});
    const tag_t b = host_testing::make_line({7, 0, 0}, {2, 0, 0});
    Found f = Intersect(a, b, 0.01);
    ASSERT_EQ(f.result, 0);
    ASSERT_EQ(f.kinds, std::vector<int>{2});
    EXPECT_LT(support::distance(At(f.curves[0], 0.0), {2, 0, 0}), 1e-9);
    EXPECT_LT(support::distance(At(f.curves[0], 1.0), {4, 0, 0}), 1e-9);

    // Two arcs of one circle sharing the quarter from pi/2 to pi.
    const tag_t upper = host_testing::make_arc({0, 0, 0}, 5, 0, kPi);
    const tag_t left = host_testing::make_arc({0, 0, 0}, 5, kPi / 2, 3 * kPi / 2);
    f = Intersect(upper, left, 1e-4);
    ASSERT_EQ(f.kinds, std::vector<int>{2});
    EXPECT_LT(support::distance(At(f.curves[0], 0.0), {0, 5, 0}), 1e-9);
    EXPECT_LT(support::distance(At(f.curves[0], 0.5), {-5 / std::sqrt(2.0), 5 / std::sqrt(2.0), 0}), 1e-9);
    EXPECT_LT(support::distance(At(f.curves[0], 1.0), {-5, 0, 0}), 1e-9);

    // A spline against a copy of itself, flat and along a helix: the whole curve.
    const std::vector<Point3> wave = {{0, -1, 0}, {1, 1, 0}, {2, -1, 0}, {3, 1, 0}, {4, -1, 0}};
    std::vector<Point3> helix;
    for (int i = 0; i <= 8; ++i) helix.push_back({20 * std::cos(i * 0.5), 20 * std::sin(i * 0.5), 2.0 * i});
    for (const std::vector<Point3>* nodes : std::vector<const std::vector<Point3>*>{&wave, &helix}) {
        const tag_t one = host_testing::make_spline(*nodes), other = host_testing::make_spline(*nodes);
        f = Intersect(one, other, 1e-4);
        ASSERT_EQ(f.kinds, std::vector<int>{2});
        EXPECT_LT(support::distance(At(f.curves[0], 0.0), nodes->front()), 1e-6);
        EXPECT_LT(support::distance(At(f.curves[0], 1.0), nodes->back()), 1e-6);
        EXPECT_LT(support::distance(At(f.curves[0], 0.5), At(one, 0.5)), 1e-6);
    }
    ExpectNoLeaks();
}

}  // namespace
