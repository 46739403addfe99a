// The 2003 mirror-certification record: its standards table, its message
// slots, and what the initialisation copies, defaults and allocates and the
// release frees.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "sedan_driver.h"
#include "omvra.h"
#include "tessik.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using carvell::r2003::mc_add_message;
using carvell::r2003::mc_set_standard_names_2003;

class Release2003MirrorRecordTest : public HostTest {
protected:
    mc_input_data_2003_t input(int kind, int standard) const {
        mc_input_data_2003_t in{};
        in.mirror_kind = kind;
        in.standard = standard;
        in.result_layer = 200;
        in.eyellipse_name = "root:eyellipse:";
        const double eye[3] = {1250, -370, 520};
        std::memcpy(in.eye_reference_point, eye, sizeof eye);
        in.mirror_sheet = support::new_point(0, 0, 0);
        in.bezel_count = 2;
        in.bezel_curves = bezels_;
        in.mt_restriction_count = 1;
        in.mt_restrictions = bezels_;
        return in;
    }
    void SetUp() override {
        HostTest::SetUp();
        bezels_[0] = support::new_line(0, 0, 0, 1, 0, 0);
        bezels_[1] = support::new_line(1, 0, 0, 1, 1, 0);
        const carvell::r2003::mc_eyellipse_params_s p = sedan_driver::params("eyellipse");
        ASSERT_EQ(carvell::r2003::mc_create_eyellipse_rule("root:eyellipse:", &p), 0);
    }
    tag_t bezels_[2] = {};
};

TEST_F(Release2003MirrorRecordTest, RegionAndStandardNamesComeFromTheTableOfTheKind) {
    struct Case {
        int kind, standard;
        const char* region;
        const char* standard_name;
    } cases[] = {
        {2, 5, "Australia", "ADR 14/02"},
        {0, 5, "", ""},
        {1, 1, "Europe", "71/127/EEC - ECE R46.01"},
        {2, 1, "Europe (M1/N1 only)", "71/127/EEC - ECE R46.01"},
        {2, 2, "Europe (Not M1/N1)near", "71/127/EEC - ECE R46.01"},
        {0, 0, "USA/canada", "FMVSS 111 - CMVSS 111"},
        {2, 7, "Saudi Arabia / Gulf States far", "SSA 770/771 - GS 421/422"},
        {2, -1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.standard));
        mc_data_2003_s data{};
        data.mirror_kind = c.kind;
        data.standard = c.standard;
        mc_set_standard_names_2003(&data);
        EXPECT_STREQ(data.region_name, c.region);
        EXPECT_STREQ(data.standard_name, c.standard_name);
    }
}

TEST_F(Release2003MirrorRecordTest, AnEleventhMessageMarksTheLimitInTheLastSlot) {
    mc_input_data_2003_t in = input(1, 1);
    mc_data_2003_s data{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
    for (int i = 0; i < 10; ++i) mc_add_message(&data, ("message " + std::to_string(i)).c_str());
    EXPECT_EQ(data.message_count, 10);
    EXPECT_STREQ(data.messages[9], "message 9");
    mc_add_message(&data, "one more");
    EXPECT_EQ(data.message_count, 10);
    EXPECT_STREQ(data.messages[9], "WARNINGS EXCEEDED MESSAGE LIMIT");
    EXPECT_STREQ(data.messages[8], "message 8");
    HM_VD_MC_release_data(&data);
}

TEST_F(Release2003MirrorRecordTest, InitialisationCopiesDefaultsAndAllocatesByKind) {
    struct Case {
        int kind, standard;
        int user_eye_flag;
        double far_side;
    } cases[] = {
        {0, 0, 0, 0.0}, {0, 1, 1, 0.0}, {1, 3, 0, 0.0}, {1, 2, 1, 300.0}, {2, 5, 0, 0.0}, {2, 4, 1, 300.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.standard));
        mc_input_data_2003_t in = input(c.kind, c.standard);
        in.eye_type = 1;
        in.colours[3] = 6;
        mc_data_2003_s data{};
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
        EXPECT_EQ(data.user_eye_flag, c.user_eye_flag);
        EXPECT_EQ(data.head_rotation, c.user_eye_flag == 0 ? 1 : 0);
        EXPECT_EQ(data.eye_step_eyellipse_name, c.user_eye_flag == 0 ? in.eyellipse_name : nullptr);
        EXPECT_EQ(data.far_side_value, c.far_side);
        EXPECT_EQ(data.eye_type, 2);
        EXPECT_EQ(data.units, 0);
        EXPECT_EQ(data.angle_tolerance, 0.05);
        EXPECT_EQ(data.third_tolerance, 0.01);
        EXPECT_EQ(data.mirror_radius[1], 100.0);
        EXPECT_EQ(data.mirror_radius[2], 999999.0);
        EXPECT_EQ(data.colours[0], 2);
        EXPECT_EQ(data.colours[3], 6);
        EXPECT_EQ(data.bezel_present, 1);
        EXPECT_EQ(support::list_items(data.bezel_curves), std::vector<tag_t>(bezels_, bezels_ + 2));
        EXPECT_EQ(support::list_items(data.bezel_copy), std::vector<tag_t>(bezels_, bezels_ + 2));
        EXPECT_EQ(data.em_present, 0);
        EXPECT_EQ(data.mt_present, 1);
        EXPECT_EQ(data.caller_mirror_sheet, in.mirror_sheet);
        EXPECT_EQ(data.inside != nullptr, c.kind == 0);
        EXPECT_EQ(data.outside != nullptr, c.kind != 0);
        if (data.inside) {
            EXPECT_NE(data.inside->up, nullptr);
            EXPECT_NE(data.inside->down, nullptr);
        }
        if (data.outside) {
            EXPECT_NE(data.outside->surface, nullptr);
            EXPECT_NE(data.outside->first, nullptr);
            EXPECT_NE(data.outside->second, nullptr);
        }
        HM_VD_MC_release_data(&data);
        EXPECT_EQ(data.messages, nullptr);
        EXPECT_EQ(data.inside, nullptr);
        EXPECT_EQ(data.outside, nullptr);
        EXPECT_EQ(data.bezel_curves, nullptr);
        // Twice is safe.
        HM_VD_MC_release_data(&data);
        ExpectNoLeaks();
    }
}

// An inch part takes the far side of the second target in inches.
class Release2003MirrorRecordInchTest : public Release2003MirrorRecordTest {
protected:
    Release2003MirrorRecordInchTest() { inches_ = true; }
};

TEST_F(Release2003MirrorRecordInchTest, TheFarSideIsInTheUnitsOfThePart) {
    mc_input_data_2003_t in = input(1, 2);
    mc_data_2003_s data{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
    EXPECT_EQ(data.units, 1);
    EXPECT_EQ(data.far_side_value, 11.811);
    HM_VD_MC_release_data(&data);
}

bool alive(tag_t object) { return object != NULL_TAG && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE; }

// Centre, semi-axes and first axis of an ellipse curve.
std::vector<double> conic_of(tag_t curve) {
    HM_CURVE_struct_p_t shape = nullptr;
    EXPECT_EQ(HM_CURVE_ask_curve_struct(curve, &shape), 0);
    int type = 0;
    double* v = nullptr;
    EXPECT_EQ(HM_CURVE_ask_curve_struct_data(shape, &type, &v), 0);
    HM_CURVE_free_curve_struct(shape);
    if (!v) return {};
    std::vector<double> values = {v[0], v[1], v[2], v[5], v[6], v[11], v[12], v[13]};
    HM_free(v);
    return values;
}

// With eye points from the eyellipse the eye reference is its hip point and
// the two eye ellipses lie about its first and third centroids: x = 297 +
// 664 + 0.587 * 641 - 0.176 * 270 = 1289.747, y = -370 -/+ 32.5, z = 250 +
// 638 + 270, semi-axes half of 206.4 and 60.3, the first axis tipped 12
// degrees. The release forgets them; they stay in the part.
TEST_F(Release2003MirrorRecordTest, WithTheEyellipseTheEyeReferenceIsItsHipAndItsEyeEllipsesAreDrawn) {
    mc_input_data_2003_t in = input(0, 0);
    const double caller_eye[3] = {10, 20, 30};
    std::memcpy(in.eye_reference_point, caller_eye, sizeof caller_eye);
    mc_data_2003_s data{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
    support::expect_point(data.eye_reference, {1250, -370, 520}, 0.0);
    const tag_t ellipses[2] = {data.first_ellipse, data.second_ellipse};
    const double y[2] = {-402.5, -337.5};
    const double tilt = 12.0 * support::kPi / 180.0;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(alive(ellipses[i]));
        const std::vector<double> c = conic_of(ellipses[i]);
        ASSERT_EQ(c.size(), 8u);
        EXPECT_NEAR(c[0], 1289.747, 1e-9);
        EXPECT_NEAR(c[1], y[i], 1e-9);
        EXPECT_NEAR(c[2], 1158.0, 1e-9);
        EXPECT_NEAR(c[3], 103.2, 1e-9);
        EXPECT_NEAR(c[4], 30.15, 1e-9);
        EXPECT_NEAR(c[5], std::cos(tilt), 1e-9);
        EXPECT_NEAR(c[7], std::sin(tilt), 1e-9);
    }
    HM_VD_MC_release_data(&data);
    EXPECT_EQ(data.first_ellipse, NULL_TAG);
    EXPECT_EQ(data.second_ellipse, NULL_TAG);
    EXPECT_TRUE(alive(ellipses[0]) && alive(ellipses[1]));

    // Eye points of the user: the caller's reference and no ellipses.
    in = input(0, 1);
    std::memcpy(in.eye_reference_point, caller_eye, sizeof caller_eye);
    const int objects = host_testing::count_objects();
    ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
    support::expect_point(data.eye_reference, {10, 20, 30}, 0.0);
    EXPECT_EQ(data.first_ellipse, NULL_TAG);
    EXPECT_EQ(host_testing::count_objects(), objects);
    HM_VD_MC_release_data(&data);
}

// A named eyellipse that is not there or states no ellipsoid is refused as
// unreadable input: -1, nothing drawn or allocated, the record as it was
// (a fresh one, and one that holds an earlier initialisation). With no
// eyellipse named there is nothing to draw: the record is made without
// ellipses, and the eye step finds none.
TEST_F(Release2003MirrorRecordTest, AnEyellipseThatCannotBeReadIsRefusedWithTheRecordAsItWas) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "BARE", VD_EYELLIPSE_CLASS, {{"Name", "\"BARE\""}}), 0u);
    for (const char* name : {"root:NOWHERE:", "root:BARE:"}) {
        SCOPED_TRACE(name);
        mc_input_data_2003_t in = input(2, 5);
        in.eyellipse_name = name;
        mc_input_data_2003_t earlier = input(1, 1);
        mc_data_2003_s fresh{};
        fresh.mirror_kind = 77;
        const int objects = host_testing::count_objects();
        EXPECT_EQ(HM_VD_MC_init_data(&in, &fresh), -1);
        EXPECT_EQ(fresh.mirror_kind, 77);
        EXPECT_EQ(fresh.messages, nullptr);
        EXPECT_EQ(host_testing::count_objects(), objects);
        ExpectNoLeaks();

        mc_data_2003_s held{};
        ASSERT_EQ(HM_VD_MC_init_data(&earlier, &held), 0);
        const mc_data_2003_s before = held;
        EXPECT_EQ(HM_VD_MC_init_data(&in, &held), -1);
        EXPECT_EQ(std::memcmp(&held, &before, sizeof held), 0);
        EXPECT_EQ(host_testing::count_objects(), objects);
        HM_VD_MC_release_data(&held);
    }
    mc_input_data_2003_t in = input(0, 3);
    in.eyellipse_name = "";
    mc_data_2003_s data{};
    ASSERT_EQ(HM_VD_MC_init_data(&in, &data), 0);
    EXPECT_EQ(data.first_ellipse, NULL_TAG);
    EXPECT_EQ(data.second_ellipse, NULL_TAG);
    support::expect_point(data.eye_reference, {1250, -370, 520}, 0.0);
    HM_VD_MC_release_data(&data);
}

TEST_F(Release2003MirrorRecordTest, BadInputIsRefusedWithNothingAllocated) {
    struct Case {
        const char* what;
        void (*spoil)(mc_input_data_2003_t&);
    } cases[] = {
        {"negative bezel count", [](mc_input_data_2003_t& in) { in.bezel_count = -1; }},
        {"bezel count without curves", [](mc_input_data_2003_t& in) { in.bezel_curves = nullptr; }},
        {"restriction count above the limit",
         [](mc_input_data_2003_t& in) { in.em_restriction_count = HM_VD_MC_MAX_OBJECTS + 1; }},
        {"pivot not a number",
         [](mc_input_data_2003_t& in) { in.pivot_point[1] = std::numeric_limits<double>::quiet_NaN(); }},
        {"user distance infinite", [](mc_input_data_2003_t& in) { in.user_distance = HUGE_VAL; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_input_data_2003_t in = input(1, 1);
        c.spoil(in);
        mc_data_2003_s data{};
        data.mirror_kind = 77;
        EXPECT_EQ(HM_VD_MC_init_data(&in, &data), -1);
        EXPECT_EQ(data.mirror_kind, 77);
        ExpectNoLeaks();
    }
    mc_data_2003_s data{};
    mc_input_data_2003_t in = input(1, 1);
    EXPECT_EQ(HM_VD_MC_init_data(nullptr, &data), -1);
    EXPECT_EQ(HM_VD_MC_init_data(&in, nullptr), -1);
    HM_VD_MC_release_data(nullptr);
}

}  // namespace
