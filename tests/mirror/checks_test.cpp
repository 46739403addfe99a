// The mirror dialog's input checks on real geometry: a closed bezel loop, the
// prime point on the perimeter, the convex radius of spherical glass and a
// backlite that sews into one sheet; none leaves geometry in the part.
#include "hm_vd_mc.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "omvra.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using support::new_line;

class MirrorChecksTest : public HostTest {
protected:
    // The flat 190 x 120 glass of a driver mirror, in the plane x = 650.
    tag_t FlatGlass() {
        const double corner[3] = {650, -1095, 940}, u[3] = {0, 190, 0}, v[3] = {0, 0, 120};
        return host_testing::make_planar_sheet(corner, u, v);
    }
    // Convex glass of radius 1400: a 190 x 120 patch of the sphere, its
    // centre 1400 behind the glass centre (650, -1000, 1000).
    tag_t ConvexGlass(double radius = 1400.0) {
        const double centre[3] = {650 + radius, -1000, 1000}, direction[3] = {-1, 0, 0}, up[3] = {0, 0, 1};
        return host_testing::make_spherical_patch(centre, radius, direction, up, 190.0, 120.0);
    }
};

TEST_F(MirrorChecksTest, LoopCheckAcceptsCountsOutsideOneToHundredUnseen) {
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(0, nullptr));
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(101, nullptr));
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(-2, nullptr));
    EXPECT_FALSE(HM_VD_MC_check_curves_edges_loop(1, nullptr));
}

TEST_F(MirrorChecksTest, LoopCheckOnArcsTrianglesAndEdges) {
    const tag_t open_arc = host_testing::make_arc({0, 0, 0}, 50.0, 0.0, 3.0);
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 50.0, 0.0, 2 * M_PI);
    const std::vector<tag_t> triangle = {new_line(0, 0, 0, 100, 0, 0), new_line(100, 0, 0, 0, 80, 0),
                                         new_line(0, 80, 0, 0, 0, 0)};
    // The same triangle with one end moved 0.5 mm, fifty tolerances.
    const std::vector<tag_t> gap = {new_line(0, 0, 0, 100, 0, 0), new_line(100, 0, 0, 0, 80, 0),
                                    new_line(0, 80, 0, 0, 0.5, 0)};
    const std::vector<tag_t> edges = support::edges_of_face(support::faces_of(FlatGlass())[0]);
    const int objects_before = host_testing::count_objects();

    EXPECT_FALSE(HM_VD_MC_check_curves_edges_loop(1, &open_arc));
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(1, &circle));
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(3, triangle.data()));
    EXPECT_FALSE(HM_VD_MC_check_curves_edges_loop(3, gap.data()));
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_TRUE(HM_VD_MC_check_curves_edges_loop(4, edges.data()));
    EXPECT_FALSE(HM_VD_MC_check_curves_edges_loop(3, edges.data()));
    EXPECT_EQ(host_testing::count_objects(), objects_before);
}

TEST_F(MirrorChecksTest, PrimePointOnTheCornerTheCentreAndInFront) {
    const tag_t sheet = FlatGlass();
    const tag_t face = support::faces_of(sheet)[0];
    struct Case {
        double point[3];
        int expected;
    };
    const Case cases[] = {
        {{650, -1095, 940}, 1},     // a corner
        {{650, -1000, 940}, 1},     // the middle of the lower edge
        {{650, -1000, 1000}, 2},    // the glass centre
        {{649, -1000, 1000}, -1},   // 1 mm in front of the glass
        {{650, -1200, 1000}, -1},   // beside the glass in its plane
    };
    const int objects_before = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point[0] << ", " << c.point[1] << ", " << c.point[2]);
        EXPECT_EQ(HM_VD_MC_check_prime_location(c.point, sheet), c.expected);
        EXPECT_EQ(HM_VD_MC_check_prime_location(c.point, face), c.expected);
    }
    EXPECT_EQ(host_testing::count_objects(), objects_before);
}

TEST_F(MirrorChecksTest, PrimePointOnOtherObjectsOrBadInput) {
    const double point[3] = {0, 0, 0};
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(HM_VD_MC_check_prime_location(point, line), 1);   // nothing to check
    EXPECT_EQ(HM_VD_MC_check_prime_location(point, support::edges_of(box)[0]), 1);
    EXPECT_EQ(HM_VD_MC_check_prime_location(point, box), -1);   // six faces
    EXPECT_EQ(HM_VD_MC_check_prime_location(nullptr, box), -1);
}

TEST_F(MirrorChecksTest, ConvexRadiusOfSphericalGlassAgainstTheEnteredRadius) {
    const tag_t glass = ConvexGlass();
    ASSERT_NE(glass, 0u);
    // The host names the glass's face and edges once they are first asked.
    ASSERT_EQ(support::edges_of(glass).size(), 4u);
    const int objects_before = host_testing::count_objects();
    struct Case {
        double entered;
        bool agrees;
    };
    const Case cases[] = {{1400.0, true}, {1401.0, true}, {1500.0, false}, {1200.0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entered);
        double radius = 0.0;
        bool agrees = !c.agrees;
        EXPECT_EQ(HM_VD_MC_check_convex_value(glass, c.entered, &radius, &agrees), 0);
        EXPECT_NEAR(radius, 1400.0, 0.5);
        EXPECT_EQ(agrees, c.agrees);
    }
    EXPECT_EQ(host_testing::count_objects(), objects_before);
}

TEST_F(MirrorChecksTest, FlatGlassTakesTheEnteredRadius) {
    double radius = 0.0;
    bool agrees = false;
    EXPECT_EQ(HM_VD_MC_check_convex_value(FlatGlass(), 1400.0, &radius, &agrees), 0);
    EXPECT_DOUBLE_EQ(radius, 1400.0);
    EXPECT_TRUE(agrees);
}

TEST_F(MirrorChecksTest, ConvexCheckOnObjectsThatAreNoMirror) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    double radius = 7.0;
    bool agrees = false;
    // A curve: nothing checked, the flag as the caller set it.
    EXPECT_EQ(HM_VD_MC_check_convex_value(new_line(0, 0, 0, 1, 0, 0), 1400.0, &radius, &agrees), 1);
    EXPECT_FALSE(agrees);
    // A body of six faces: code 1, the flag set.
    EXPECT_EQ(HM_VD_MC_check_convex_value(box, 1400.0, &radius, &agrees), 1);
    EXPECT_TRUE(agrees);
    EXPECT_DOUBLE_EQ(radius, 7.0);
    EXPECT_EQ(HM_VD_MC_check_convex_value(box, 1400.0, nullptr, &agrees), -1);
    EXPECT_EQ(HM_VD_MC_check_convex_value(box, 1400.0, &radius, nullptr), -1);
}

TEST_F(MirrorChecksTest, BackliteFacesSewIntoOneSheetOrNot) {
    // Two faces of a backlite sharing the edge at z = 1200, and one far away.
    const double c1[3] = {2500, -500, 1400}, u1[3] = {250, 0, -200}, v1[3] = {0, 1000, 0};
    const double c2[3] = {2750, -500, 1200}, u2[3] = {250, 0, -200}, v2[3] = {0, 1000, 0};
    const double c3[3] = {5000, -500, 1400};
    const tag_t upper = support::faces_of(host_testing::make_planar_sheet(c1, u1, v1))[0];
    const tag_t lower = support::faces_of(host_testing::make_planar_sheet(c2, u2, v2))[0];
    const tag_t far = support::faces_of(host_testing::make_planar_sheet(c3, u1, v1))[0];
    const int objects_before = host_testing::count_objects();
    const int marks_before = host_testing::undo_mark_count();

    const tag_t shared[2] = {upper, lower};
    const tag_t apart[2] = {upper, far};
    EXPECT_TRUE(HM_VD_MC_check_backlite(2, shared));
    EXPECT_FALSE(HM_VD_MC_check_backlite(2, apart));
    EXPECT_TRUE(HM_VD_MC_check_backlite(1, &upper));
    EXPECT_FALSE(HM_VD_MC_check_backlite(0, shared));
    EXPECT_FALSE(HM_VD_MC_check_backlite(2, nullptr));
    EXPECT_EQ(host_testing::count_objects(), objects_before);
    EXPECT_EQ(host_testing::undo_mark_count(), marks_before);
    ASSERT_FALSE(host_testing::status_texts().empty());
    EXPECT_EQ(host_testing::status_texts().front(), "validating backlite faces");
}

}  // namespace
