// Named builders: the mirror point through a plane, points and lines found
// again by name, and links replaced by name.
#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_motion.h"
#include "omvra.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class BuilderTest : public HostTest {};

TEST_F(BuilderTest, MirrorPointKnownAnswers) {
    struct Case {
        const char* what;
        double point[3], plane_point[3], normal[3], mirror[3];
    };
    const Case cases[] = {
        {"through y = 0", {3000, 800, 380}, {0, 0, 0}, {0, 1, 0}, {3000, -800, 380}},
        {"normal of length 2", {3000, 800, 380}, {0, 0, 0}, {0, 2, 0}, {3000, -800, 380}},
        {"point on the plane stays", {1, 5, 7}, {0, 5, 0}, {0, 1, 0}, {1, 5, 7}},
        // Plane x + y = 2 (normal (1, 1, 0)); (3, 3, 1) is 4/sqrt(2) from it: mirror (-1, -1, 1).
        {"oblique plane", {3, 3, 1}, {1, 1, 0}, {1, 1, 0}, {-1, -1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double mirror[3] = {9, 9, 9};
        ASSERT_EQ(HM_VD_mirror_point_through_plane(c.point, c.plane_point, c.normal, mirror), 0);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(mirror[i], c.mirror[i], 1e-12);
    }
}

TEST_F(BuilderTest, ZeroNormalIsRefusedAndLeavesTheOutputAlone) {
    const double p[3] = {1, 2, 3}, q[3] = {0, 0, 0}, n[3] = {0, 0, 0};
    double mirror[3] = {7, 8, 9};
    EXPECT_EQ(HM_VD_mirror_point_through_plane(p, q, n, mirror), -1);
    EXPECT_EQ(mirror[0], 7);
    EXPECT_EQ(mirror[1], 8);
    EXPECT_EQ(mirror[2], 9);
}

TEST_F(BuilderTest, BuildingAPointTwiceMovesTheOnePoint) {
    const double first[3] = {1, 2, 3}, second[3] = {4, 5, 6};
    ASSERT_EQ(HM_VD_build_point("P", first), 0);
    ASSERT_EQ(HM_VD_build_point("P", second), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), 1);
    tag_t p = HM_OBJ_cycle_by_name_and_type(part_, "P", HM_point_type, 0);
    double at[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(p, at), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(at[i], second[i]);
}

TEST_F(BuilderTest, BuildingALineTwiceEditsTheOneLineAndZeroLengthIsNamed) {
    const double o[3] = {0, 0, 0}, a[3] = {10, 0, 0};
    ASSERT_EQ(HM_VD_build_line("L", o, o), 0) << "a line whose ends coincide is still built and named";
    ASSERT_EQ(HM_VD_build_line("L", o, a), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type), 1);
    tag_t line = HM_OBJ_cycle_by_name_and_type(part_, "L", HM_line_type, 0);
    HM_CURVE_line_t data;
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &data), 0);
    EXPECT_NEAR(data.end_point[0], 10, 1e-12);
}

TEST_F(BuilderTest, WithoutAWorkPartNothingIsBuilt) {
    const double o[3] = {0, 0, 0}, a[3] = {1, 0, 0};
    host_testing::clear_work_part();
    EXPECT_EQ(HM_VD_build_point("P", o), -1);
    EXPECT_EQ(HM_VD_build_line("L", o, a), -1);
    EXPECT_EQ(HM_VD_build_point(nullptr, o), -1);
    EXPECT_EQ(host_testing::count_objects(part_, 0), 0);
}

TEST_F(BuilderTest, BuildingALinkReplacesTheOneOfTheSameNameInAnyCase) {
    tag_t mechanism = 0;
    ASSERT_EQ(HM_VD_build_mechanism("MECH", &mechanism), 0);
    EXPECT_NE(mechanism, 0u);
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t first = 0, second = 0;
    ASSERT_EQ(HM_VD_build_link("AXLE", &line, 1, &first), 0);
    ASSERT_EQ(HM_VD_build_link("axle", &line, 1, &second), 0);
    EXPECT_NE(second, first);
    EXPECT_EQ(HM_OBJ_ask_status(first), HM_OBJ_DELETED);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 1);
    EXPECT_EQ(host_testing::session_depth(), 0) << "the builders close their sessions";
}

TEST_F(BuilderTest, ARefusedLinkAnswersTheHostsCodeAndNoLink) {
    tag_t mechanism = 0;
    ASSERT_EQ(HM_VD_build_mechanism("MECH", &mechanism), 0);
    tag_t link = 77;
    EXPECT_EQ(HM_VD_build_link("empty", nullptr, 0, &link), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(link, 0u);
}

TEST_F(BuilderTest, WithoutTheMotionEnvironmentNoLinkOrJointIsMade) {
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t link = 77;
    EXPECT_EQ(HM_VD_build_link("arm", &line, 1, &link), HM_ERR_NOT_FOUND);
    EXPECT_EQ(link, 0u);
    double z[3] = {0, 0, 1}, o[3] = {0, 0, 0};
    tag_t joint = 77;
    EXPECT_EQ(HM_VD_MOTION_create_joint("J", 13, 0, 0, 0.0, z, z, o, &joint), HM_ERR_NOT_FOUND);
    EXPECT_EQ(joint, 77u);
    EXPECT_EQ(host_testing::count_objects(), 1) << "only the line: nothing made for the joint stays";
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace
