// Recognition of the five-link-axle mechanism, and its mutations; the
// built mechanism moved through heave and roll by its shock drivers.
#include "host_fixture.h"
#include "test_helpers.h"

#include "fla_fixtures.h"
#include "hm_vd_fla_susp.h"
#include "hm_vd_motion.h"
#include "omvra.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FlaRecognitionTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        s_ = fla_fixtures::rear_axle();
        ASSERT_EQ(HM_VD_FLA_SUSP_build_structure(&s_), 0);
        ASSERT_EQ(HM_VD_FLA_SUSP_build_motion(&s_), 0);
    }
    bool recognised() {
        bool answer = false;
        EXPECT_EQ(HM_VD_is_fla_template(&answer), 0);
        return answer;
    }
    void set_driver(tag_t joint, int kind) {
        KMC_motion_driver_t d;
        KMC_init_motion_driver_data(&d);
        d.kind = kind;
        ASSERT_EQ(KMC_set_motion_driver(joint, &d), 0);
    }
    sFiveLinkAxle_Suspension s_;
};

TEST_F(FlaRecognitionTest, TheBuiltMechanismIsRecognised) { EXPECT_TRUE(recognised()); }

TEST_F(FlaRecognitionTest, WithoutTheMotionEnvironmentTheAnswerIsFalse) {
    host_testing::make_part("other");
    bool answer = true;
    EXPECT_EQ(HM_VD_is_fla_template(&answer), -1);
    EXPECT_FALSE(answer);
    EXPECT_EQ(HM_VD_is_fla_template(nullptr), -1);
}

TEST_F(FlaRecognitionTest, DriversDecide) {
    set_driver(s_.joints[FLA_R_SHOCK], KMC_DRIVER_NONE);
    EXPECT_FALSE(recognised()) << "one driver";
    set_driver(s_.joints[FLA_J002], KMC_DRIVER_ARTICULATION);
    EXPECT_FALSE(recognised()) << "two drivers, one of them not a shock";
    set_driver(s_.joints[FLA_R_SHOCK], KMC_DRIVER_ARTICULATION);
    EXPECT_TRUE(recognised()) << "three drivers skip the name test; the structure decides";
}

TEST_F(FlaRecognitionTest, AJointOfTheWrongTypeIsNotRecognised) {
    // J002 again as a ball joint (code 13, host type 6), all names as before.
    ASSERT_EQ(HM_OBJ_delete_object(s_.joints[FLA_J002]), 0);
    double z[3] = {0, 0, 1};
    tag_t joint = 0;
    ASSERT_EQ(HM_VD_MOTION_create_joint("J002", 13, s_.links[FLA_LINK_LCA_L], 0, 0, z, z,
                                        s_.points[FLA_LCA_FRONT_BUSHING], &joint),
              0);
    EXPECT_FALSE(recognised());
}

TEST_F(FlaRecognitionTest, AJointBetweenOtherLinksOrRenamedIsNotRecognised) {
    ASSERT_EQ(HM_OBJ_set_name(s_.joints[FLA_J014], "J999"), 0);
    EXPECT_FALSE(recognised());
    ASSERT_EQ(HM_OBJ_set_name(s_.joints[FLA_J014], "J014"), 0);
    EXPECT_TRUE(recognised());
    ASSERT_EQ(HM_OBJ_set_name(s_.links[FLA_LINK_TRACK], "panhard"), 0);
    EXPECT_FALSE(recognised());
}

TEST_F(FlaRecognitionTest, ASixteenthLinkIsNotRecognised) {
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0}), extra = 0;
    ASSERT_EQ(HM_VD_MOTION_create_simple_link("axle", &line, 1, &extra), 0);
    EXPECT_FALSE(recognised());
}

// Camber of a wheel of outboard spin axis a: asin(-a_z), in degrees.
double camber(const std::array<double, 3>& a) { return std::asin(-a[2]) * 180.0 / M_PI; }

TEST_F(FlaRecognitionTest, HeaveAndRollSweepsKeepTheJointsClosedAndReturnToDesign) {
    const tag_t left = s_.joints[FLA_L_SHOCK], right = s_.joints[FLA_R_SHOCK];
    std::vector<std::vector<double>> values;
    for (int i = 0; i <= 34; ++i) values.push_back({-85.0 + 5.0 * i, -85.0 + 5.0 * i});   // heave
    for (int i = 0; i <= 16; ++i) values.push_back({-40.0 + 5.0 * i, 40.0 - 5.0 * i});    // roll
    values.push_back({0.0, 0.0});
    host_testing::Articulation result;
    ASSERT_EQ(host_testing::articulate({left, right}, values, &result), 0);
    EXPECT_LT(result.max_residual, 1e-8);
    size_t axle = 0;
    for (size_t i = 0; i < result.links.size(); ++i) {
        if (result.links[i] == s_.links[FLA_LINK_AXLE]) axle = i;
    }
    const std::array<double, 3> wl{3000, 800, 380}, wr{3000, -800, 380};
    // Heave: both wheel centres rise step by step; the track bar pulls the
    // axle sideways on its arc, so the two sides differ a little, and the
    // axle's camber stays small.
    double previous = -1e9;
    for (size_t step = 0; step <= 34; ++step) {
        SCOPED_TRACE(step);
        const auto& t = result.steps[step][axle];
        const auto l = host_testing::transform_point(t, wl), r = host_testing::transform_point(t, wr);
        EXPECT_NEAR(l[2], r[2], 1.5);
        EXPECT_GT(l[2], previous) << "jounce (shock shift +) raises the wheel";
        previous = l[2];
        EXPECT_LT(std::fabs(camber(host_testing::transform_vector(t, {0, 1, 0}))), 0.1);
    }
    // Roll: the wheels move opposite ways.
    const auto& roll = result.steps[35][axle];
    EXPECT_LT(host_testing::transform_point(roll, wl)[2], 380 - 10);
    EXPECT_GT(host_testing::transform_point(roll, wr)[2], 380 + 10);
    // Back at the design: every link where it was, the four that could spin
    // idly about their own axes (lower shock and bump-stop parts) included:
    // within a micrometre at the wheel centres after the whole loop.
    const std::array<double, 3> probes[] = {wl, wr, {2500, 0, 500}};
    for (size_t link = 0; link < result.links.size(); ++link) {
        SCOPED_TRACE(link);
        const auto& t = result.steps.back()[link];
        for (const auto& p : probes) {
            const auto q = host_testing::transform_point(t, p);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(q[k], p[k], 1e-3);
        }
    }
}

}  // namespace
