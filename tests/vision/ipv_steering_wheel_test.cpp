// Instrument-panel visibility: see-through solids and the steering wheel.
// Grouping by touch, centres of mass, representative planes, facet
// centroids, crossing points, edge curves, silhouette contours of a torus
// rim, the upper wheel outline and the split of the wheel's opening into hub
// and see-through loops.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "yarrowin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;
using support::list_items;
using support::make_list;
constexpr double kPi = 3.14159265358979323846;

// The wheel of the tests: a 380 mm rim (tube centreline radius 190, tube
// 30 mm thick) about C, its plane 25 degrees from vertical, facing the
// driver (normal rearward and up), in vehicle axes equal to the absolute ones.
const Point3 kC = {2350.0, -370.0, 950.0};
const double kTilt = 25.0 * kPi / 180.0;
const Point3 kNormal = {std::cos(kTilt), 0.0, std::sin(kTilt)};
const Point3 kUp = {-std::sin(kTilt), 0.0, std::cos(kTilt)};   // in the wheel plane, towards its top
const Point3 kSide = {0.0, 1.0, 0.0};
constexpr double kRimRadius = 190.0;
constexpr double kTubeRadius = 15.0;

Point3 At(const Point3& base, double a, const Point3& da, double b = 0.0, const Point3& db = {0, 0, 0}) {
    return {base[0] + a * da[0] + b * db[0], base[1] + a * da[1] + b * db[1], base[2] + a * da[2] + b * db[2]};
}
double Dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3 Minus(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Norm(const Point3& a) { return std::sqrt(Dot(a, a)); }

class IpvWheelTest : public vision_test::IpvHostTest {
protected:
    const double origin_[3] = {0, 0, 0};
    const double matrix_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    static tag_t Body(tag_t feature) {
        tag_t body = 0;
        EXPECT_EQ(HM_MODL_ask_feat_body(feature, &body), 0);
        return body;
    }
    // The torus rim about kC.
    static tag_t Rim() { return Torus(kRimRadius, kTubeRadius); }
    // A torus about kC: centreline radius R, tube radius r.
    static tag_t Torus(double R, double r) {
        const tag_t path = host_testing::make_arc(kC, R, 0.0, 2.0 * kPi, kSide, kUp);
        tag_t feature = 0;
        const std::string diameter = std::to_string(2.0 * r);
        EXPECT_EQ(HM_MODL_create_tube(path, diameter.c_str(), "0.0", &feature), 0);
        return Body(feature);
    }
    // A hub disc 80 mm across and 30 thick about kC, and spokes 20 mm thick
    // from the centre to the rim's centreline at 3, 6 and 9 o'clock.
    static std::vector<tag_t> HubAndSpokes() {
        std::vector<tag_t> out;
        const Point3 base = At(kC, -15.0, kNormal);
        out.push_back(host_testing::make_cylinder(base.data(), kNormal.data(), 80.0, 30.0));
        const Point3 dirs[3] = {kSide, {-kUp[0], -kUp[1], -kUp[2]}, {0.0, -1.0, 0.0}};
        for (const Point3& d : dirs) out.push_back(host_testing::make_cylinder(kC.data(), d.data(), 20.0, kRimRadius));
        return out;
    }
    static double Length(const std::vector<tag_t>& curves) {
        double total = 0.0;
        for (tag_t c : curves) total += support::curve_length(c);
        return total;
    }
    // Number of closed loops and of all loops the curves form.
    static std::pair<int, int> LoopCounts(const std::vector<tag_t>& curves, double tol = 0.01) {
        hm_list_p_t list = make_list(curves);
        int count = 0, closed = 0;
        int* per = nullptr;
        tag_t** loops = nullptr;
        EXPECT_EQ(HM_VD_CURVE_make_loop_curve(list, tol, &count, &closed, &per, &loops), 0);
        for (int i = 0; i < count; ++i) SM_free(loops[i]);
        SM_free(loops);
        SM_free(per);
        HM_MODL_delete_list(&list);
        return {closed, count};
    }
    // Largest and smallest distance from the point of 50 points on each curve.
    static std::pair<double, double> RadiusRange(const std::vector<tag_t>& curves, const Point3& centre) {
        double lo = 1e300, hi = 0.0;
        for (tag_t c : curves)
            for (int i = 0; i <= 50; ++i) {
                const double r = Norm(Minus(support::curve_point(c, i / 50.0), centre));
                lo = std::min(lo, r);
                hi = std::max(hi, r);
            }
        return {lo, hi};
    }
    // Points, curves, planes, datum planes and facetted models of the part.
    static int Geometry() {
        int n = 0;
        for (int type : {int{HM_point_type}, int{HM_line_type}, int{HM_circle_type}, int{HM_conic_type}, int{HM_spline_type}, int{HM_plane_type},
                         int{HM_datum_type}, int{HM_facet_model_type}})
            n += host_testing::count_objects(0, type);
        return n;
    }
    static void FreeGroups(int n, hm_list_p_t* groups) {
        for (int i = 0; i < n; ++i) HM_MODL_delete_list(&groups[i]);
        SM_free(groups);
    }
};

// ---- grouping ----

TEST_F(IpvWheelTest, SolidsAreGroupedByTouchAndATouchingSolidJoinsTwoGroups) {
    // Cubes 10 mm on a side at the x positions given; the groups expected in list order.
    struct Case {
        const char* name;
        std::vector<double> xs;
        std::vector<int> groups;
    } cases[] = {
        {"all apart", {0, 20, 40}, {0, 1, 2}},
        {"the third touches only the second, which touches the first", {0, 10, 20}, {0, 0, 0}},
        {"the second touches neither; the third touches the second", {0, 20, 30}, {0, 1, 1}},
        {"the third touches two groups and joins them", {0, 20, 10}, {0, 0, 0}},
        {"a late bridge joins groups that already grew", {0, 20, 30, 50, 10}, {0, 0, 0, 1, 0}},
        {"one solid", {5}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<tag_t> cubes;
        for (double x : c.xs) {
            const double corner[3] = {x, 0, 0}, size[3] = {10, 10, 10};
            cubes.push_back(host_testing::make_box(corner, size));
        }
        hm_list_p_t list = make_list(cubes);
        int n = 0;
        hm_list_p_t* groups = nullptr;
        ASSERT_EQ(HM_VD_ipv_cagetory_ss_solids(list, &n, &groups), 0);
        const int expected_count = *std::max_element(c.groups.begin(), c.groups.end()) + 1;
        ASSERT_EQ(n, expected_count);
        for (int g = 0; g < n; ++g) {
            std::vector<tag_t> expected;
            for (size_t i = 0; i < cubes.size(); ++i)
                if (c.groups[i] == g) expected.push_back(cubes[i]);
            EXPECT_EQ(list_items(groups[g]), expected) << "group " << g;
        }
        FreeGroups(n, groups);
        HM_MODL_delete_list(&list);
        for (tag_t t : cubes) HM_OBJ_delete_object(t);
    }
}

TEST_F(IpvWheelTest, GroupingAnEmptyListGivesNoGroups) {
    hm_list_p_t empty = make_list({});
    int n = 7;
    hm_list_p_t* groups = reinterpret_cast<hm_list_p_t*>(this);
    EXPECT_EQ(HM_VD_ipv_cagetory_ss_solids(empty, &n, &groups), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(groups, nullptr);
    EXPECT_EQ(HM_VD_ipv_cagetory_ss_solids(nullptr, &n, &groups), 0);
    EXPECT_EQ(HM_VD_ipv_cagetory_ss_solids(empty, nullptr, &groups), -1);
    HM_MODL_delete_list(&empty);
}

// ---- measures of solids ----

TEST_F(IpvWheelTest, BodyCentroidIsTheCentreOfTheSolidsVolume) {
    const double c1[3] = {0, 0, 0}, s1[3] = {10, 10, 10};   // 1000 mm3 about (5, 5, 5)
    const double c2[3] = {20, 0, 0}, s2[3] = {20, 10, 10};  // 2000 mm3 about (30, 5, 5)
    struct Case {
        const char* name;
        std::vector<tag_t> solids;
        Point3 centre;
        double tolerance;
    } cases[] = {
        {"one box", {host_testing::make_box(c1, s1)}, {5, 5, 5}, 1e-9},
        {"two boxes weighted by volume", {host_testing::make_box(c1, s1), host_testing::make_box(c2, s2)},
         {65.0 / 3.0, 5, 5}, 1e-9},
        {"the torus rim", {Rim()}, kC, 1e-4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t list = make_list(c.solids);
        double centroid[3] = {0, 0, 0};
        ASSERT_EQ(HM_VD_ipv_ask_body_centroid(list, centroid), 0);
        support::expect_point(centroid, c.centre, c.tolerance);
        HM_MODL_delete_list(&list);
    }
}

class IpvWheelInchTest : public InchHostTest {};

// In an inch part the centre comes in inches, not in the centimetres or
// inches of the host's measure of a millimetre part.
TEST_F(IpvWheelInchTest, BodyCentroidIsInPartUnits) {
    const double corner[3] = {0, 0, 0}, size[3] = {1, 2, 3};
    hm_list_p_t list = make_list({host_testing::make_box(corner, size)});
    double centroid[3] = {0, 0, 0};
    ASSERT_EQ(HM_VD_ipv_ask_body_centroid(list, centroid), 0);
    support::expect_point(centroid, {0.5, 1.0, 1.5}, 1e-9);
    HM_MODL_delete_list(&list);
}

TEST_F(IpvWheelTest, BodyCentroidRefusesWhatIsNoSolid) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t line = support::new_line(0, 0, 0, 1, 0, 0);
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    double centroid[3] = {-1, -1, -1};
    hm_list_p_t empty = make_list({}), with_line = make_list({box, line}), with_sheet = make_list({box, sheet});
    EXPECT_EQ(HM_VD_ipv_ask_body_centroid(nullptr, centroid), -1);
    EXPECT_EQ(HM_VD_ipv_ask_body_centroid(empty, centroid), -1);
    EXPECT_EQ(HM_VD_ipv_ask_body_centroid(with_line, centroid), -1);
    // A sheet has no volume: the host's code.
    EXPECT_EQ(HM_VD_ipv_ask_body_centroid(with_sheet, centroid), HM_ERR_WRONG_TYPE);
    support::expect_point(centroid, {-1, -1, -1});
    for (hm_list_p_t* l : {&empty, &with_line, &with_sheet}) HM_MODL_delete_list(l);
}

TEST_F(IpvWheelTest, FacetCentroidsOfABoxLieOnItsFacesWithItsLongestAndShortestEdges) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    const tag_t box = host_testing::make_box(corner, size);
    HM_FACET_parameters_t parameters;
    HM_FACET_ask_default_parameters(&parameters);
    tag_t model = 0;
    ASSERT_EQ(HM_FACET_facet_solid(box, &parameters, &model), 0);
    int n = 0;
    double** pts = nullptr;
    double longest = 0.0, shortest = 0.0;
    ASSERT_EQ(HM_VD_ipv_ask_facet_model_points(model, &n, &pts, &longest, &shortest), 0);
    ASSERT_EQ(n, 12);   // two triangles a face
    EXPECT_NEAR(longest, std::sqrt(20.0 * 20.0 + 30.0 * 30.0), 1e-9);   // diagonal of the largest face
    EXPECT_NEAR(shortest, 10.0, 1e-9);
    int per_face[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) {
            if (std::fabs(pts[i][k]) < 1e-9) ++per_face[2 * k];
            if (std::fabs(pts[i][k] - size[k]) < 1e-9) ++per_face[2 * k + 1];
        }
    for (int f = 0; f < 6; ++f) EXPECT_EQ(per_face[f], 2) << "face " << f;
    HM_VD_ipv_free_points(n, &pts);
    EXPECT_EQ(HM_VD_ipv_ask_facet_model_points(box, &n, &pts, &longest, &shortest), HM_ERR_INVALID_TAG);
    EXPECT_EQ(pts, nullptr);
}

TEST_F(IpvWheelTest, RepresentativePlaneOfAFlatRingIsItsMidPlaneOrFacesThePoint) {
    hm_list_p_t rim = make_list({Rim()});
    tag_t plane = 0;
    ASSERT_EQ(HM_VD_ipv_ask_body_represent_plane(false, nullptr, rim, &plane), 0);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    support::expect_point(o, kC, 0.5);
    EXPECT_GT(std::fabs(Dot({n[0], n[1], n[2]}, kNormal)), std::cos(0.2 * kPi / 180.0));
    // Turned towards a point off the axis: the normal runs from the origin to it.
    const Point3 eye = {2743.0, -370.0, 1188.0};
    tag_t facing = 0;
    ASSERT_EQ(HM_VD_ipv_ask_body_represent_plane(true, eye.data(), rim, &facing), 0);
    ASSERT_EQ(HM_MODL_ask_plane(facing, o, n), 0);
    const Point3 to_eye = Minus(eye, {o[0], o[1], o[2]});
    EXPECT_NEAR(Dot({n[0], n[1], n[2]}, to_eye) / Norm(to_eye), 1.0, 1e-12);
    hm_list_p_t empty = make_list({});
    tag_t none = 5;
    EXPECT_EQ(HM_VD_ipv_ask_body_represent_plane(false, nullptr, empty, &none), 0);
    EXPECT_EQ(none, 0u);
    HM_MODL_delete_list(&rim);
    HM_MODL_delete_list(&empty);
}

// ---- crossing points and edge curves ----

TEST_F(IpvWheelTest, AllIntersectPointsOfTwoCurvesAreTheirCrossings) {
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 10.0, 0.0, 2.0 * kPi);
    struct Case {
        const char* name;
        tag_t other;
        std::vector<Point3> points;
    } cases[] = {
        {"a chord at y = 5", support::new_line(-20, 5, 0, 20, 5, 0), {{-std::sqrt(75.0), 5, 0}, {std::sqrt(75.0), 5, 0}}},
        {"a line that misses", support::new_line(-20, 15, 0, 20, 15, 0), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int n = -1;
        double** pts = nullptr;
        ASSERT_EQ(HM_VD_ipv_ask_all_intersect_points(circle, c.other, 0.01, &n, &pts), 0);
        ASSERT_EQ(n, static_cast<int>(c.points.size()));
        for (const Point3& expected : c.points) {
            double best = 1e300;
            for (int i = 0; i < n; ++i) best = std::min(best, Norm(Minus({pts[i][0], pts[i][1], pts[i][2]}, expected)));
            EXPECT_LT(best, 1e-6);
        }
        HM_VD_ipv_free_points(n, &pts);
    }
    int n = 3;
    double** pts = nullptr;
    EXPECT_EQ(HM_VD_ipv_ask_all_intersect_points(0, circle, 0.01, &n, &pts), -1);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(pts, nullptr);
}

TEST_F(IpvWheelTest, EdgeCurvesOfABoxRunAlongItsTwelveEdges) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
    hm_list_p_t bodies = make_list({host_testing::make_box(corner, size)});
    hm_list_p_t curves = nullptr;
    ASSERT_EQ(HM_VD_ipv_ask_edge_curves_of_bodies(bodies, &curves), 0);
    const std::vector<tag_t> items = list_items(curves);
    EXPECT_EQ(items.size(), 12u);
    EXPECT_NEAR(Length(items), 4.0 * (10 + 20 + 30), 1e-9);
    HM_MODL_delete_list(&curves);
    const int before = host_testing::count_objects();
    hm_list_p_t with_line = make_list({support::new_line(0, 0, 0, 1, 0, 0)});
    EXPECT_NE(HM_VD_ipv_ask_edge_curves_of_bodies(with_line, &curves), 0);
    EXPECT_EQ(curves, nullptr);
    EXPECT_EQ(host_testing::count_objects(), before + 1);   // only the line made above
    HM_MODL_delete_list(&bodies);
    HM_MODL_delete_list(&with_line);
}

// ---- silhouette contours ----

// A hub with spokes projects to a cloud whose outer edge has concave
// corners, with cloud points running on straight ahead inside it. The outer
// walk must follow the edge into the corners: round a plus-shaped grid
// (bars 60 x 10 crossing) it encloses the plus's area, 2 * 600 - 100.
TEST_F(IpvWheelTest, OuterProfileWalkFollowsConcaveCornersOfAPlusShapedCloud) {
    std::vector<Point3> grid;
    for (int x = -30; x <= 30; ++x)
        for (int y = -30; y <= 30; ++y)
            if ((std::abs(y) <= 5) || (std::abs(x) <= 5)) grid.push_back({x + 0.01 * y, y + 0.0, 0.0});
    std::vector<double*> rows;
    for (Point3& p : grid) rows.push_back(p.data());
    const double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 1}, search[3] = {0.5, 1.6, 2.0};
    int count = 0;
    int* indices = nullptr;
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_ipv_ask_profile_points(static_cast<int>(rows.size()), rows.data(), origin, normal, search, 0,
                                           &count, &indices, &pts),
              0);
    double area = 0.0;
    for (int i = 0; i + 1 < count; ++i) area += pts[i][0] * pts[i + 1][1] - pts[i + 1][0] * pts[i][1];
    EXPECT_NEAR(std::fabs(area) / 2.0, 1100.0, 6.0);
    SM_free(indices);
    HM_VD_ipv_free_points(count, &pts);
}

// The inner walk starts at the point nearest the origin; on a cloud whose
// inner edge is slightly uneven, every point ahead of it may lie a little
// to the left of the exact tangent. The walk must still go round.
TEST_F(IpvWheelTest, InnerProfileWalkGoesRoundAnUnevenInnerEdge) {
    std::vector<Point3> ring;
    for (int i = 0; i < 360; ++i) {
        const double a = i * kPi / 180.0;
        // The inner edge at radius 10.02 with one point dented in to 10.00
        // (the start); a band of points lies outside it up to radius 12.
        for (double r : {i == 0 ? 10.0 : 10.02, 11.0, 12.0}) ring.push_back({r * std::cos(a), r * std::sin(a), 0.0});
    }
    std::vector<double*> rows;
    for (Point3& p : ring) rows.push_back(p.data());
    const double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 1}, search[3] = {0.1, 0.6, 2.0};
    int count = 0;
    int* indices = nullptr;
    double** pts = nullptr;
    ASSERT_EQ(HM_VD_ipv_ask_profile_points(static_cast<int>(rows.size()), rows.data(), origin, normal, search, 1,
                                           &count, &indices, &pts),
              0);
    EXPECT_GT(count, 90);   // round the whole edge, not a shortcut
    double turned = 0.0;
    for (int i = 0; i < count; ++i) {
        EXPECT_LT(std::hypot(pts[i][0], pts[i][1]), 10.02 + 1e-9);
        if (i > 0) {
            double da = std::atan2(pts[i][1], pts[i][0]) - std::atan2(pts[i - 1][1], pts[i - 1][0]);
            while (da > kPi) da -= 2 * kPi;
            while (da < -kPi) da += 2 * kPi;
            turned += da;
        }
    }
    EXPECT_NEAR(std::fabs(turned), 2.0 * kPi, 1e-6);
    SM_free(indices);
    HM_VD_ipv_free_points(count, &pts);
}


// Seen from a point on its axis at distance L from its mid plane, a torus
// (centreline radius R, tube radius r) shows circles on that plane whose
// radii follow from the sight lines tangent to the tube: L tan(a +- b) with
// tan a = R / L and sin b = r / sqrt(R^2 + L^2). The mode picks the outer,
// the inner or both; the single modes are shown on a small torus, which
// meshes quicker, both on the rim.
TEST_F(IpvWheelTest, ContoursOfATorusSeenOnItsAxisAreTheTangentCircles) {
    constexpr double L = 700.0;
    const Point3 eye = At(kC, L, kNormal);
    const tag_t plane = host_testing::make_plane(kC, kNormal);
    const double parameters[3] = {3.0, 0.2, 3.0};
    struct Case {
        const char* name;
        int mode;
        bool outer, inner;
        double R, r;
    } cases[] = {{"outer", 0, true, false, 40.0, 6.0},
                 {"inner", 1, false, true, 40.0, 6.0},
                 {"both", 2, true, true, kRimRadius, kTubeRadius}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t rim = make_list({Torus(c.R, c.r)});
        const double a = std::atan(c.R / L), b = std::asin(c.r / std::hypot(c.R, L));
        const double outer_radius = L * std::tan(a + b), inner_radius = L * std::tan(a - b);
        hm_list_p_t outer = nullptr, inner = nullptr;
        ASSERT_EQ(HM_VD_ipv_create_contour(rim, eye.data(), parameters, c.mode, plane, &outer, &inner), 0);
        ASSERT_EQ(outer != nullptr, c.outer);
        ASSERT_EQ(inner != nullptr, c.inner);
        for (auto [list, radius] : {std::pair{outer, outer_radius}, std::pair{inner, inner_radius}}) {
            if (!list) continue;
            const std::vector<tag_t> curves = list_items(list);
            EXPECT_EQ(LoopCounts(curves), std::make_pair(1, 1));
            const auto [lo, hi] = RadiusRange(curves, kC);
            // The silhouette is found on facets within 0.1 mm of the
            // surface, where the sight line grazes it.
            EXPECT_NEAR(lo, radius, 0.2);
            EXPECT_NEAR(hi, radius, 0.2);
            for (tag_t t : curves) HM_OBJ_delete_object(t);
            HM_MODL_delete_list(&list);
        }
        HM_MODL_delete_list(&rim);
    }
}

TEST_F(IpvWheelTest, ContourBadInputGivesItsCodeAndLeavesNothing) {
    hm_list_p_t rim = make_list({Rim()});
    const tag_t plane = host_testing::make_plane(kC, kNormal);
    const Point3 eye = At(kC, 700.0, kNormal);
    const double parameters[3] = {3.0, 0.2, 3.0}, zero_size[3] = {0.0, 0.2, 3.0};
    hm_list_p_t empty = make_list({});
    const int before = host_testing::count_objects();
    struct Case {
        const char* name;
        hm_list_p_t solids;
        const double* eye;
        const double* parameters;
        int mode;
        tag_t plane;
        int code;
    } cases[] = {
        {"mode 3", rim, eye.data(), parameters, 3, plane, -1},
        {"mode -1", rim, eye.data(), parameters, -1, plane, -1},
        {"no view point", rim, nullptr, parameters, 0, plane, -1},
        {"no parameters", rim, eye.data(), nullptr, 0, plane, -1},
        {"a facet size of 0", rim, eye.data(), zero_size, 0, plane, -1},
        {"no solids", empty, eye.data(), parameters, 0, plane, -1},
        {"plane 0", rim, eye.data(), parameters, 0, 0, HM_ERR_INVALID_TAG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t outer = reinterpret_cast<hm_list_p_t>(this), inner = outer;
        EXPECT_EQ(HM_VD_ipv_create_contour(c.solids, c.eye, c.parameters, c.mode, c.plane, &outer, &inner), c.code);
        EXPECT_EQ(outer, nullptr);
        EXPECT_EQ(inner, nullptr);
        EXPECT_EQ(host_testing::count_objects(), before);
    }
    HM_MODL_delete_list(&rim);
    HM_MODL_delete_list(&empty);
}

TEST_F(IpvWheelTest, SeeThroughContourOfAPanelGaugeIsItsOutlineOnAPlaneFacingTheEye) {
    // A gauge housing: a cylinder 90 mm across, 20 deep, its axis towards the eye.
    const Point3 eye = {2743.0, -370.0, 1188.0};
    const Point3 base = {2050.0, -370.0, 900.0};
    const Point3 axis = Minus(eye, base);
    const Point3 unit = {axis[0] / Norm(axis), axis[1] / Norm(axis), axis[2] / Norm(axis)};
    hm_list_p_t gauge = make_list({host_testing::make_cylinder(base.data(), unit.data(), 90.0, 20.0)});
    double centroid[3];
    tag_t plane = 0;
    hm_list_p_t contour = nullptr;
    ASSERT_EQ(HM_VD_ipv_extract_ss_curve(eye.data(), gauge, centroid, &plane, &contour), 0);
    support::expect_point(centroid, At(base, 10.0, unit), 1e-6);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    ASSERT_NE(contour, nullptr);
    const std::vector<tag_t> curves = list_items(contour);
    EXPECT_EQ(LoopCounts(curves), std::make_pair(1, 1));
    // The near rim (45 mm radius, 10 mm nearer the eye than the plane
    // through the centroid) seen from the eye at distance D: radius 45 D / (D - 10)
    // on that plane.
    const double d = Norm(Minus(eye, {o[0], o[1], o[2]}));
    const auto [lo, hi] = RadiusRange(curves, {o[0], o[1], o[2]});
    EXPECT_NEAR(lo, 45.0 * d / (d - 10.0), 1.5);
    EXPECT_NEAR(hi, 45.0 * d / (d - 10.0), 1.5);
    for (tag_t t : curves) HM_OBJ_delete_object(t);
    HM_MODL_delete_list(&contour);
    HM_MODL_delete_list(&gauge);
}

// ---- the upper wheel outline and the wheel's opening ----

// A wheel drawn in the plane x = 0 about the origin: outer contour radius
// 200, inner 170; the rim's section a circle of radius 15 about the top of
// the rim's centreline (0, 0, 185) in the lateral plane y = 0. The cut lies
// 5 % of the outer width (400) below the centre: at z = -20.
class IpvUpperWheelTest : public IpvWheelTest {
protected:
    static tag_t Circle(double radius, double from = 0.0, double to = 2.0 * kPi) {
        return host_testing::make_arc({0, 0, 0}, radius, from, to, {0, 1, 0}, {0, 0, 1});
    }
    static double ArcAboveCut(double radius) { return radius * (2.0 * kPi - 2.0 * std::acos(20.0 / radius)); }
    static double Foot(double radius) { return std::sqrt(radius * radius - 20.0 * 20.0); }
};

TEST_F(IpvUpperWheelTest, UpperOutlineIsTheRimBandAboveTheCutClosedByTwoLines) {
    struct Case {
        const char* name;
        std::vector<tag_t> outer;
    } cases[] = {
        {"outer contour of one circle", {Circle(200.0)}},
        {"outer contour of two half circles", {Circle(200.0, 0.0, kPi), Circle(200.0, kPi, 2.0 * kPi)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ipv_steering_wheel_t wheel{};
        wheel.outer_contour = make_list(c.outer);
        wheel.inner_contour = make_list({Circle(170.0)});
        wheel.rim_upper_section = make_list({host_testing::make_arc({0, 0, 185}, 15.0, 0.0, 2.0 * kPi, {1, 0, 0}, {0, 0, 1})});
        hm_list_p_t outline = nullptr;
        const int before = host_testing::count_objects();
        ASSERT_EQ(HM_VD_ipv_create_upper_steering_wheel(origin_, matrix_, &wheel, &outline), 0);
        ASSERT_NE(outline, nullptr);
        const std::vector<tag_t> curves = list_items(outline);
        EXPECT_EQ(curves.size(), 4u);
        EXPECT_EQ(host_testing::count_objects(), before + 4);   // only the outline stays
        EXPECT_EQ(LoopCounts(curves), std::make_pair(1, 1));
        const double expected = ArcAboveCut(200.0) + ArcAboveCut(170.0) + 2.0 * (Foot(200.0) - Foot(170.0));
        EXPECT_NEAR(Length(curves), expected, 0.05);
        double lowest = 1e300;
        for (tag_t t : curves)
            for (int i = 0; i <= 20; ++i) lowest = std::min(lowest, support::curve_point(t, i / 20.0)[2]);
        EXPECT_NEAR(lowest, -20.0, 1e-3);
        for (tag_t t : curves) HM_OBJ_delete_object(t);
        HM_MODL_delete_list(&outline);
        for (hm_list_p_t* l : {&wheel.outer_contour, &wheel.inner_contour, &wheel.rim_upper_section})
            HM_MODL_delete_list(l);
    }
}

TEST_F(IpvUpperWheelTest, AnOuterContourCrossingTheCutOnceGivesNoOutline) {
    ipv_steering_wheel_t wheel{};
    // From 30 degrees below the side up over the top to the other side at centre height.
    wheel.outer_contour = make_list({Circle(200.0, -kPi / 6.0, kPi)});
    wheel.inner_contour = make_list({Circle(170.0)});
    wheel.rim_upper_section = make_list({host_testing::make_arc({0, 0, 185}, 15.0, 0.0, 2.0 * kPi, {1, 0, 0}, {0, 0, 1})});
    const int before = host_testing::count_objects();
    hm_list_p_t outline = reinterpret_cast<hm_list_p_t>(this);
    EXPECT_NE(HM_VD_ipv_create_upper_steering_wheel(origin_, matrix_, &wheel, &outline), 0);
    EXPECT_EQ(outline, nullptr);
    EXPECT_EQ(host_testing::count_objects(), before);
    ipv_steering_wheel_t missing = wheel;
    missing.inner_contour = nullptr;
    EXPECT_EQ(HM_VD_ipv_create_upper_steering_wheel(origin_, matrix_, &missing, &outline), -1);
    EXPECT_EQ(HM_VD_ipv_create_upper_steering_wheel(origin_, matrix_, nullptr, &outline), -1);
    for (hm_list_p_t* l : {&wheel.outer_contour, &wheel.inner_contour, &wheel.rim_upper_section}) HM_MODL_delete_list(l);
}

// The opening of a wheel (circle of radius 100 in z = 0) crossed by a hub
// bar 20 wide (|y| <= 10, x from -120 to 120), seen from above. The upper
// region (y > 10) lies nearest the plane through the rim top P = (0, 100, 0):
// its bar edge is the hub outline; the lower region is the see-through.
TEST_F(IpvWheelTest, HubBarSplitsTheOpeningIntoHubAndSeeThrough) {
    const double x = std::sqrt(100.0 * 100.0 - 10.0 * 10.0);   // where the bar's edges cross the rim
    struct Case {
        const char* name;
        std::vector<double> top_edge_breaks;   // x values where the bar's top edge is cut into lines
        double tolerance;
    } cases[] = {
        {"bar edges of one line each", {}, 1e-6},
        // A line ending 0.05 past a crossing: the split puts that piece's end
        // at the line's end (within 0.001 of its length), not at the crossing.
        {"a bar edge line ending just past a crossing", {x + 0.05}, 0.06},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hm_list_p_t rim = make_list({host_testing::make_arc({0, 0, 0}, 100.0, 0.0, 2.0 * kPi)});
        std::vector<tag_t> bar = {support::new_line(-120, -10, 0, 120, -10, 0), support::new_line(120, -10, 0, 120, 10, 0)};
        double from = 120.0;
        for (double b : c.top_edge_breaks) {
            bar.push_back(support::new_line(from, 10, 0, b, 10, 0));
            from = b;
        }
        bar.push_back(support::new_line(from, 10, 0, -120, 10, 0));
        bar.push_back(support::new_line(-120, 10, 0, -120, -10, 0));
        hm_list_p_t hub = make_list(bar);
        const double p[3] = {0, 100, 0}, centre[3] = {0, 0, 0}, tol[2] = {0.01, 0.01};
        hm_list_p_t hubs = nullptr, see = nullptr;
        ASSERT_EQ(HM_VD_ipv_ask_hubs_and_seethrus(rim, hub, p, centre, tol, &hubs, &see), 0);
        const std::vector<tag_t> hub_curves = list_items(hubs), see_curves = list_items(see);
        EXPECT_NEAR(Length(hub_curves), 2.0 * x, c.tolerance);
        for (tag_t t : hub_curves) EXPECT_NEAR(support::curve_point(t, 0.5)[1], 10.0, 1e-9);
        EXPECT_EQ(LoopCounts(see_curves), std::make_pair(1, 1));
        EXPECT_NEAR(Length(see_curves), 2.0 * x + 100.0 * 2.0 * std::acos(0.1), 1e-6);
        for (tag_t t : see_curves) EXPECT_LT(support::curve_point(t, 0.5)[1], -10.0 + 1e-9);
        for (hm_list_p_t* l : {&hubs, &see, &rim, &hub}) HM_MODL_delete_list(l);
    }
}

TEST_F(IpvWheelTest, HubsAndSeeThroughsRefuseOpenOutlinesAndOutlinesThatDoNotCross) {
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 100.0, 0.0, 2.0 * kPi);
    const tag_t arc = host_testing::make_arc({0, 0, 0}, 100.0, 0.0, kPi);
    const tag_t small = host_testing::make_arc({0, 0, 0}, 40.0, 0.0, 2.0 * kPi);
    const double p[3] = {0, 100, 0}, c[3] = {0, 0, 0}, tol[2] = {0.01, 0.01};
    struct Case {
        const char* name;
        std::vector<tag_t> rim, hub;
        const char* message;
    } cases[] = {
        {"open inner rim", {arc}, {small}, "The inner rim is not closed"},
        {"open hub outline", {circle}, {arc}, "The hub outer is not closed"},
        {"a hub inside the rim, not crossing it", {circle}, {small}, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        host_testing::clear_sinks();
        hm_list_p_t rim = make_list(k.rim), hub = make_list(k.hub);
        const int before = host_testing::count_objects();
        hm_list_p_t hubs = reinterpret_cast<hm_list_p_t>(this), see = hubs;
        EXPECT_EQ(HM_VD_ipv_ask_hubs_and_seethrus(rim, hub, p, c, tol, &hubs, &see), -1);
        EXPECT_EQ(hubs, nullptr);
        EXPECT_EQ(see, nullptr);
        EXPECT_EQ(host_testing::count_objects(), before);
        if (k.message) {
            const auto& log = host_testing::syslog();
            EXPECT_NE(std::find(log.begin(), log.end(), std::string(k.message)), log.end());
        }
        HM_MODL_delete_list(&rim);
        HM_MODL_delete_list(&hub);
    }
}

// The rim's section by the lateral plane through the wheel centre: the
// highest loop is the tube's cross-section at the top of the rim.
TEST_F(IpvWheelTest, RimUpperSectionIsTheTubeSectionAtTheTopOfTheRim) {
    hm_list_p_t wheel = make_list({Rim()});
    const double tol[2] = {0.01, 0.01};
    double top[3];
    hm_list_p_t section = nullptr;
    ASSERT_EQ(HM_VD_ipv_ask_rim_upper_section_curves(origin_, matrix_, wheel, kC.data(), kC.data(), tol, top, &section), 0);
    // The centroid of the section's chord points, the closing point counted
    // once, is the circle's centre.
    support::expect_point(top, At(kC, kRimRadius, kUp), 1e-6);
    const std::vector<tag_t> curves = list_items(section);
    EXPECT_EQ(LoopCounts(curves), std::make_pair(1, 1));
    const auto [lo, hi] = RadiusRange(curves, At(kC, kRimRadius, kUp));
    EXPECT_NEAR(lo, kTubeRadius, 1e-3);
    EXPECT_NEAR(hi, kTubeRadius, 1e-3);
    for (tag_t t : curves) HM_OBJ_delete_object(t);
    HM_MODL_delete_list(&section);
    HM_MODL_delete_list(&wheel);
}

// The whole extraction on a spoked wheel seen from the eye: a closed upper
// outline, the hub edge seen through the upper opening above the centre, and
// two see-through loops whose pieces meet within `join` (a crossing within a
// thousandth of a contour's parameter range of its end splits it at the end,
// up to a millimetre from the crossing). On the axis, the band's height is
// checked against the tangent circle's radius.
struct SpokedWheelView {
    Point3 eye;
    bool on_axis;
    double join;
};

class IpvSpokedWheelTest : public IpvWheelTest {
protected:
    void ExpectOutlineHubAndSeeThroughs(const SpokedWheelView& c) {
        hm_list_p_t wheel = make_list({Rim()}), hub = make_list(HubAndSpokes());
        double centre[3], top[3];
        tag_t plane = 0;
        hm_list_p_t outline = nullptr, hubs = nullptr, see = nullptr;
        const int before = Geometry();
        ASSERT_EQ(HM_VD_ipv_extract_sw_curve(origin_, matrix_, c.eye.data(), wheel, hub, centre, top, &plane, &outline,
                                             &hubs, &see),
                  0);
        support::expect_point(centre, kC, 1e-4);
        support::expect_point(top, At(kC, kRimRadius, kUp), 0.5);
        EXPECT_NE(plane, 0u);
        const std::vector<tag_t> band = list_items(outline), hub_curves = list_items(hubs), holes = list_items(see);
        // Only the plane and the handed-out curves stay once the pieces
        // logged for deletion are gone (the bodies' faces and edges keep the
        // tags they were given on the way).
        UPDATE_do_update();
        EXPECT_EQ(Geometry(), before + 1 + static_cast<int>(band.size() + hub_curves.size() + holes.size()));
        EXPECT_EQ(LoopCounts(band), std::make_pair(1, 1));
        EXPECT_EQ(LoopCounts(holes, c.join), std::make_pair(2, 2));
        // The hub edge seen through the upper opening lies above the centre.
        ASSERT_FALSE(hub_curves.empty());
        for (tag_t t : hub_curves) EXPECT_GT(Dot(Minus(support::curve_point(t, 0.5), kC), kUp), 0.0);
        if (c.on_axis) {
            // The band runs from the outer contour's top (the tangent
            // circle's radius, as in the contour test) down to the cut, 5 %
            // of the outer contour's width below the centre.
            const double a = std::atan(kRimRadius / 700.0), b = std::asin(kTubeRadius / std::hypot(kRimRadius, 700.0));
            const double outer_radius = 700.0 * std::tan(a + b);
            double highest = -1e300, lowest = 1e300;
            for (tag_t t : band)
                for (int i = 0; i <= 50; ++i) {
                    const double up = Dot(Minus(support::curve_point(t, i / 50.0), kC), kUp);
                    highest = std::max(highest, up);
                    lowest = std::min(lowest, up);
                }
            EXPECT_NEAR(highest, outer_radius, 1.5);
            EXPECT_NEAR(lowest, -0.05 * 2.0 * outer_radius, 1.0);
        }
        for (tag_t t : band) HM_OBJ_delete_object(t);
        for (tag_t t : hub_curves) HM_OBJ_delete_object(t);
        for (tag_t t : holes) HM_OBJ_delete_object(t);
        HM_OBJ_delete_object(plane);
        for (hm_list_p_t* l : {&outline, &hubs, &see, &wheel, &hub}) HM_MODL_delete_list(l);
    }
};

TEST_F(IpvSpokedWheelTest, SeenFromItsAxisGivesAClosedUpperOutlineTheUpperHubEdgeAndTwoSeeThroughs) {
    ExpectOutlineHubAndSeeThroughs({At(kC, 700.0, kNormal), true, 0.01});
}

TEST_F(IpvSpokedWheelTest, SeenFromADriversEyeGivesAClosedUpperOutlineTheUpperHubEdgeAndTwoSeeThroughs) {
    ExpectOutlineHubAndSeeThroughs({{2743.0, -370.0, 1188.0}, false, 1.0});
}

TEST_F(IpvWheelTest, ExtractionsRefuseBadInputAndLeaveNothing) {
    const Point3 eye = At(kC, 700.0, kNormal);
    const tag_t line = support::new_line(0, 0, 0, 1, 0, 0);
    hm_list_p_t lines = make_list({line}), empty = make_list({});
    const int before = host_testing::count_objects();
    struct Case {
        const char* name;
        hm_list_p_t solids;
        const double* eye;
        int code;
    } cases[] = {
        {"no view point", lines, nullptr, -1},
        {"no solids", empty, eye.data(), -1},
        {"a curve for a solid", lines, eye.data(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double centroid[3], top[3];
        tag_t plane = 9;
        hm_list_p_t contour = reinterpret_cast<hm_list_p_t>(this), outline = contour, hubs = contour, see = contour;
        EXPECT_EQ(HM_VD_ipv_extract_ss_curve(c.eye, c.solids, centroid, &plane, &contour), c.code);
        EXPECT_EQ(plane, 0u);
        EXPECT_EQ(contour, nullptr);
        plane = 9;
        EXPECT_EQ(HM_VD_ipv_extract_sw_curve(origin_, matrix_, c.eye, c.solids, c.solids, centroid, top, &plane,
                                             &outline, &hubs, &see),
                  c.code);
        EXPECT_EQ(plane, 0u);
        EXPECT_EQ(outline, nullptr);
        EXPECT_EQ(hubs, nullptr);
        EXPECT_EQ(see, nullptr);
        EXPECT_EQ(host_testing::count_objects(), before);
    }
    double top[3];
    hm_list_p_t section = reinterpret_cast<hm_list_p_t>(this);
    const double tol[2] = {0.01, 0.01};
    EXPECT_EQ(HM_VD_ipv_ask_rim_upper_section_curves(origin_, matrix_, lines, kC.data(), eye.data(), tol, top, &section),
              -1);
    EXPECT_EQ(section, nullptr);
    EXPECT_EQ(HM_VD_ipv_ask_rim_upper_section_curves(origin_, matrix_, lines, kC.data(), eye.data(), nullptr, top,
                                                     &section),
              -1);
    EXPECT_EQ(host_testing::count_objects(), before);
    HM_MODL_delete_list(&lines);
    HM_MODL_delete_list(&empty);
}

}  // namespace
