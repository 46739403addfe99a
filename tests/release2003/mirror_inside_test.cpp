// The 2003 inside-mirror analysis on a sedan: a flat glass 250 x 65 at the
// windshield header facing rearward, the user's eye points from the SgRP
// (1250, -370, 520), and the backlite as one planar face from (2500, +-500,
// 1400) down to (3000, +-575, 1000); ground at z = 0, 60 m behind the eyes.
#include "hm_vd_mc.h"
#include "r2003_mc_inside.h"
#include "r2003_mirror.h"

#include "examples/mirror_sedan.h"
#include "host_fixture.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace carvell::r2003;

constexpr double kDistance = 60000.0;
const char* const kBadStartText = "\nWARNING - Possible bad initial mirror position";
const char* const kStandardWidthText = "\n*DOES NOT CERTIFY* Target Width less than Standard Width ";
const char* const kUserWidthText = "\nTarget Width less than User-Defined Width ";
const char* const kStandardAngleText = "\n*DOES NOT CERTIFY* Target Angle less than Standard Angle ";
const char* const kUserAngleText = "\nTarget Angle less than User-Defined Angle ";

tag_t one_face_backlite() {
    const double poles[12] = {2500, -500, 1400, 2500, 500, 1400, 3000, -575, 1000, 3000, 575, 1000};
    return host_testing::make_bspline_sheet(2, 2, poles, 1, 1);
}

// The glass about (650, y, z) in the plane x = 650, facing rearward.
tag_t glass_at(double y, double z) {
    const double corner[3] = {650.0, y - 125.0, z - 32.5}, across[3] = {0, 250, 0}, up[3] = {0, 0, 65};
    return host_testing::make_planar_sheet(corner, across, up);
}

// Objects that a stage would leave behind if it did not clean up: curves,
// planes, groups and features (bodies share their type with faces and edges,
// whose tags the host makes as they are asked for).
int loose_objects() {
    int n = 0;
    for (int type : {HM_line_type, HM_circle_type, HM_conic_type, HM_spline_type, HM_plane_type, HM_group_type,
                     HM_feature_type, HM_point_type})
        n += host_testing::count_objects(0, type);
    return n;
}

tag_t named_object(const char* name) {
    tag_t object = NULL_TAG;
    return HM_OBJ_cycle_by_name(name, &object) == 0 ? object : NULL_TAG;
}

// The ends of the curve at parameters 0 and 1.
void curve_ends(tag_t curve, double start[3], double end[3]) {
    double tangent[3], normal[3], binormal[3], torsion = 0, radius = 0;
    ASSERT_EQ(HM_MODL_ask_curve_props(curve, 0.0, start, tangent, normal, binormal, &torsion, &radius), 0);
    ASSERT_EQ(HM_MODL_ask_curve_props(curve, 1.0, end, tangent, normal, binormal, &torsion, &radius), 0);
}

class Release2003InsideMirrorTest : public HostTest {
protected:
    mc_input_data_2003_t Input(tag_t glass, tag_t backlite, double pivot_y = 0.0) const {
        mc_input_data_2003_t in{};
        in.mirror_kind = 0;
        in.standard = 1;   // Europe: the user's eye points
        in.result_layer = 200;
        std::memcpy(in.eye_reference_point, mirror_sedan::kSgrp.data(), sizeof in.eye_reference_point);
        const double pivot[3] = {650.0, pivot_y, 1210.0};
        std::memcpy(in.pivot_point, pivot, sizeof pivot);
        std::memcpy(in.prime_point, pivot, sizeof pivot);
        in.mirror_sheet = glass;
        in.backlite_sheet = backlite;
        in.standard_distance = kDistance;
        in.standard_width = 20000.0;
        in.standard_angle = 20.0;
        return in;
    }
    // Initialises the record and places the eyes as the process does before
    // the analysis; the record of an earlier run is released first.
    void Prepare(mc_input_data_2003_t in) {
        HM_VD_MC_release_data(&data_);
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data_), 0);
        double eyes[3][3], pivot[3];
        ASSERT_EQ(mc_find_eye_points_2003(&data_, eyes, pivot, data_.rear_eye), 0);
        std::memcpy(data_.inside->left_eye, eyes[0], sizeof eyes[0]);
        std::memcpy(data_.inside->mid_eye, eyes[1], sizeof eyes[1]);
        std::memcpy(data_.inside->right_eye, eyes[2], sizeof eyes[2]);
        std::memcpy(data_.inside->head_pivot, pivot, sizeof pivot);
    }
    int Count(const char* text) const {
        int n = 0;
        for (int i = 0; i < data_.message_count; ++i) n += std::string(data_.messages[i]) == text;
        return n;
    }
    // The curves in the result list.
    int ResultCurves() const {
        int count = 0, n = 0;
        HM_MODL_ask_list_count(data_.inside->result_objects, &count);
        for (int i = 0; i < count; ++i) {
            tag_t object = NULL_TAG;
            int type = 0, subtype = 0;
            HM_MODL_ask_list_item(data_.inside->result_objects, i, &object);
            HM_OBJ_ask_type_and_subtype(object, &type, &subtype);
            n += type == HM_line_type || type == HM_circle_type || type == HM_conic_type || type == HM_spline_type;
        }
        return n;
    }
    void TearDown() override {
        HM_VD_MC_release_data(&data_);
        HostTest::TearDown();
    }
    mc_data_2003_s data_{};
};

// The upper and lower ends of what both named views show in the vertical
// plane through the eye.
void common_edge(const double eye[3], const char* mirror_view, const char* backlite_view, double lower[3],
                 double upper[3]) {
    const tag_t plane = mc_inside_eye_plane(eye);
    double ml[3], mu[3], bl[3], bu[3];
    ASSERT_EQ(mc_inside_cut_ends(plane, named_object(mirror_view), 0.01, ml, mu), 0);
    ASSERT_EQ(mc_inside_cut_ends(plane, named_object(backlite_view), 0.01, bl, bu), 0);
    HM_OBJ_delete_object(plane);
    std::memcpy(lower, ml[2] > bl[2] ? ml : bl, 3 * sizeof(double));
    std::memcpy(upper, mu[2] < bu[2] ? mu : bu, 3 * sizeof(double));
}

TEST_F(Release2003InsideMirrorTest, ThePassesBringTheCommonViewsUpperEdgeToTheHorizonAndItsLowerEdgeToTheGround) {
    const tag_t glass = glass_at(0.0, 1210.0), lite = one_face_backlite();
    mc_input_data_2003_t in = Input(glass, lite);
    for (int i = 0; i < 9; ++i) in.colours[i] = 11 + i;   // slot k (from 1) gives colour 10 + k
    Prepare(in);
    const int marks = host_testing::undo_mark_count();
    const int planes = host_testing::count_objects(0, HM_plane_type);
    const int curves = host_testing::count_objects(0, HM_line_type) + host_testing::count_objects(0, HM_spline_type);
    ASSERT_EQ(mc_analyze_inside_mirror_2003(&data_), 0);
    const mc_inside_pass_s& u = *data_.inside->up;
    const mc_inside_pass_s& d = *data_.inside->down;
    support::expect_point(data_.inside->ground_point, {data_.rear_eye[0] + kDistance, 0.0, 0.0}, 1e-9);
    const double degree = 3.14159265358979323846 / 180.0;
    const double tolerance = data_.angle_tolerance;

    // "U_": seen from the middle virtual eye (where "U_HORIZON" starts), the
    // upper edge of what mirror and backlite both show is level.
    double eye[3], horizon[3], lower[3], upper[3];
    curve_ends(named_object("U_HORIZON"), eye, horizon);
    EXPECT_NEAR(horizon[2], eye[2], 1e-6) << "the horizon runs level";
    common_edge(eye, "U_MID_MIR_PLN", "U_MID_BCK_PLN", lower, upper);
    EXPECT_NEAR(std::atan2(upper[2] - eye[2], upper[0] - eye[0]) / degree, 0.0, tolerance);

    // "D_": the lower edge points at the ground point, so the lowest sight
    // line meets the ground 60 m behind the eyes, give or take the angle
    // tolerance at that reach (d distance = distance^2 / height * d angle).
    curve_ends(named_object("D_HORIZON"), eye, horizon);
    common_edge(eye, "D_MID_MIR_PLN", "D_MID_BCK_PLN", lower, upper);
    const double* g = data_.inside->ground_point;
    EXPECT_NEAR(std::atan2(lower[2] - eye[2], lower[0] - eye[0]), std::atan2(g[2] - eye[2], g[0] - eye[0]),
                tolerance * degree);
    EXPECT_NEAR(d.ground_distance, kDistance, kDistance * kDistance / eye[2] * tolerance * degree);
    EXPECT_DOUBLE_EQ(d.ground_target[2], 0.0);
    // Tipping the glass up brings the view's lower edge up: the second pass
    // turns the mirror up from where the first left it; in plan both turn
    // the glass towards the driver.
    EXPECT_LT(d.side_angle, u.side_angle);
    EXPECT_LT(u.plan_angle, 0.0);
    EXPECT_LT(d.plan_angle, 0.0);
    // The width that the ambinocular angle covers at the ground distance.
    EXPECT_NEAR(u.ground_width, 2.0 * kDistance * std::tan(0.5 * u.ambinocular_angle[0] * degree), 1e-6);
    EXPECT_EQ(u.ambinocular_angle[0], u.ambinocular_angle[1]);

    for (const char* name : {"BACKLITE", "EYES", "HEADPVT", "U_ROTMIRR", "D_ROTMIRR", "U_ROT_EYES", "D_VRT_EYES",
                             "U_LFT_MIR_PLN", "U_RHT_BCK_PLN", "D_MID_MIR_PLN", "U_LFT_MIRR", "D_RHT_BACK",
                             "U_LFT_AMB", "D_RHT_AMB", "U_GROUND", "D_GROUND", "U_UP_LINE", "D_GRND_INT",
                             "D_DWN_LINE", "U_CTR_TRNGL", "U_MIR_TRNGL", "RES_U_CTR_TRNGL"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(named_object(name), NULL_TAG);
    }
    EXPECT_EQ(named_object("D_CTR_TRNGL"), NULL_TAG) << "the vision triangles are pass \"U_\"'s only";
    // The triangle lies within what the eyes see through mirror and backlite,
    // and nothing restricts it.
    EXPECT_EQ(Count("\nVision triangle is not obstructed."), 1);
    EXPECT_NEAR(u.restriction_result, 0.0, 0.1);
    // The common objects take slot 1; the left, middle and right eye's views
    // and the lines drawn from them slots 4, 1, 5 in pass "U_" and 6, 1, 7 in
    // pass "D_" ("LFT_..." lines start at the right eye, "RHT_..." at the left).
    const struct {
        const char* name;
        int colour;
    } colours[] = {{"BACKLITE", 11},      {"U_ROTMIRR", 11},     {"U_LFT_MIR_PLN", 14}, {"U_MID_BCK_PLN", 11},
                   {"U_RHT_BCK_PLN", 15}, {"U_RHT_MIRR", 14},    {"U_LFT_AMB", 15},     {"D_LFT_BCK_PLN", 16},
                   {"D_RHT_MIR_PLN", 17}, {"D_RHT_AMB", 16},     {"D_LFT_BACK", 17},    {"D_GROUND", 11}};
    for (const auto& c : colours) {
        SCOPED_TRACE(c.name);
        int colour = 0;
        EXPECT_EQ(HM_OBJ_ask_color(named_object(c.name), &colour), 0);
        EXPECT_EQ(colour, c.colour);
    }
    // No plane is left, no curve but the listed ones, and no undo mark.
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), planes);
    EXPECT_EQ(host_testing::count_objects(0, HM_line_type) + host_testing::count_objects(0, HM_spline_type) - curves,
              ResultCurves());
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
}

TEST_F(Release2003InsideMirrorTest, OnlyPassUWarnsAndOnlyOfAValueBelowTheLimit) {
    const tag_t glass = glass_at(0.0, 1210.0), lite = one_face_backlite();
    Prepare(Input(glass, lite));
    ASSERT_EQ(mc_analyze_inside_mirror_2003(&data_), 0);
    const double width = data_.inside->up->ground_width;
    const double angle = data_.inside->up->ambinocular_angle[0];
    ASSERT_GT(width, 0.0);
    ASSERT_LT(data_.inside->down->ground_width, 1.5 * width);
    EXPECT_EQ(Count(kStandardWidthText), 0) << "20 m are less than the width the glass gives";

    struct Case {
        const char* what;
        int eye_flag;            // 0: as if the eyes came from the eyellipse
        unsigned char override_;
        double limit;            // width or angle, standard's or user's
        const char* text;        // the warning, null for none
    } cases[] = {
        {"width below a standard that both passes fall short of", 1, 0, 1.5 * width, kStandardWidthText},
        {"width below a user width that both passes fall short of", 1, 1, 1.5 * width, kUserWidthText},
        {"angle equal to the standard's", 0, 0, angle, nullptr},
        {"angle below 90 degrees of the standard", 0, 0, 90.0, kStandardAngleText},
        {"angle below 90 degrees of the user", 0, 1, 90.0, kUserAngleText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_input_data_2003_t in = Input(glass, lite);
        in.user_override = c.override_ != 0;
        in.user_distance = kDistance;
        (c.eye_flag == 1 ? (c.override_ ? in.user_width : in.standard_width)
                         : (c.override_ ? in.user_angle : in.standard_angle)) = c.limit;
        Prepare(in);
        data_.user_eye_flag = c.eye_flag;
        ASSERT_EQ(mc_analyze_inside_mirror_2003(&data_), 0);
        for (const char* text : {kStandardWidthText, kUserWidthText, kStandardAngleText, kUserAngleText})
            EXPECT_EQ(Count(text), c.text && std::string(c.text) == text ? 1 : 0) << text;
    }
}

TEST_F(Release2003InsideMirrorTest, AMirrorFarFromTheBackliteViewWarnsOfABadStartAndFails) {
    // Glass and pivot 800 mm to the right: its view from the virtual eye
    // passes beside the eye's vertical plane.
    const tag_t glass = glass_at(800.0, 1210.0), lite = one_face_backlite();
    Prepare(Input(glass, lite, 800.0));
    const int marks = host_testing::undo_mark_count();
    const int planes = host_testing::count_objects(0, HM_plane_type);
    EXPECT_EQ(mc_analyze_inside_mirror_2003(&data_), 5);
    EXPECT_EQ(data_.message_count, 1);
    EXPECT_EQ(Count(kBadStartText), 1);
    EXPECT_EQ(named_object("U_ROTMIRR"), NULL_TAG);
    EXPECT_NE(named_object("BACKLITE"), NULL_TAG) << "what was named before the failure stays";
    EXPECT_EQ(host_testing::count_objects(0, HM_plane_type), planes);
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
}

TEST_F(Release2003InsideMirrorTest, BadInputGivesItsCodeAndLeavesNothingBehind) {
    const tag_t glass = glass_at(0.0, 1210.0), lite = one_face_backlite();
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    EXPECT_EQ(mc_analyze_inside_mirror_2003(nullptr), -1);
    struct Case {
        const char* what;
        tag_t mirror, backlite;
        int kind;
        int code;
    } cases[] = {
        {"an outside mirror's record has no inside result", glass, lite, 1, -1},
        {"a mirror of six faces", box, lite, 0, 2},
        {"no backlite", glass, NULL_TAG, 0, 3},
        {"a backlite of six faces", glass, box, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_input_data_2003_t in = Input(c.mirror, c.backlite);
        in.mirror_kind = c.kind;
        HM_VD_MC_release_data(&data_);
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data_), 0);
        const int objects = loose_objects();
        EXPECT_EQ(mc_analyze_inside_mirror_2003(&data_), c.code);
        EXPECT_EQ(loose_objects(), objects);
        EXPECT_EQ(data_.mirror_set.points, nullptr) << "the mirror's outline is released";
    }
}

}  // namespace
