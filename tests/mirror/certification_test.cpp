// A whole certification run on the sedan: the process flow's stages and
// warnings, the vehicle frame and the loading, and what the inside and
// outside analyses leave in the part and in the result records.
#include "hm_vd_mc.h"
#include "host_fixture.h"
#include "mirror_fixtures.h"
#include "mirror_flow.h"
#include "omvra.h"
#include "sedan_fixture.h"
#include "toolbox/detail/owners.h"
#include "belmorra.h"
#include "hm_vd/bodies.h"
#include "hm_vd/objects.h"
#include "quillon.h"

#include <cstring>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

using sedan::V;
using sedan::add;
using sedan::dot;
using sedan::scale;
using sedan::sub;

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// The objects a user sees in the part: bodies, curves, points and planes.
std::set<tag_t> part_objects() {
    std::set<tag_t> out;
    HM_MODL_update();
    const tag_t part = HM_ASSEM_ask_work_part();
    for (int type : {HM_point_type, HM_line_type, HM_circle_type, HM_conic_type, HM_spline_type, HM_plane_type,
                     HM_solid_type}) {
        for (tag_t t = HM_OBJ_cycle_objs_in_part(part, type, 0); t != 0; t = HM_OBJ_cycle_objs_in_part(part, type, t)) {
            int ty = 0, sub = 0;
            HM_OBJ_ask_type_and_subtype(t, &ty, &sub);
            if (ty == HM_solid_type && sub != HM_solid_body_subtype) continue;
            out.insert(t);
        }
    }
    return out;
}

class CertificationTest : public MirrorRecordTest {
protected:
    hm_list_p_t Results() const {
        return data_.mirror_kind == 0 ? data_.inside->result_objects : data_.outside->result_objects;
    }
    std::vector<std::string> ResultNames() const {
        std::vector<std::string> names;
        for (tag_t t : carvell::detail::list_items(Results())) {
            char name[64] = "";
            HM_OBJ_ask_name(t, name, sizeof name);
            names.push_back(name);
        }
        return names;
    }
    bool HasResult(const std::string& name) const {
        const std::vector<std::string> names = ResultNames();
        return std::find(names.begin(), names.end(), name) != names.end();
    }
    tag_t Result(const std::string& name) const {
        for (tag_t t : carvell::detail::list_items(Results())) {
            char n[64] = "";
            HM_OBJ_ask_name(t, n, sizeof n);
            if (name == n) return t;
        }
        return 0;
    }
    // The run, and a check that it left in the part exactly the results.
    int Run() {
        const std::set<tag_t> before = part_objects();
        const int status = HM_VD_MC_process(&data_);
        std::set<tag_t> made;
        for (tag_t t : part_objects())
            if (!before.count(t)) made.insert(t);
        const std::vector<tag_t> items = carvell::detail::list_items(Results());
        const std::set<tag_t> results(items.begin(), items.end());
        if (status == 0) {
            EXPECT_EQ(made, results) << "the part holds exactly the results";
            for (tag_t t : items) {
                int layer = 0;
                HM_OBJ_ask_layer(t, &layer);
                EXPECT_EQ(layer, data_.result_layer);
            }
        } else {
            for (tag_t t : made) EXPECT_TRUE(results.count(t)) << "a failed run leaves no orphan (tag " << t << ")";
        }
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
        return status;
    }
    bool Warned(int slot) const {
        for (int i = 0; i < data_.message_count; ++i)
            if (data_.warnings[slot] && std::string(data_.messages[i]) == data_.warnings[slot]) return true;
        return false;
    }
    std::vector<tag_t> lite_;
};

TEST_F(CertificationTest, NullOrUninitialisedRecordsAreRefused) {
    EXPECT_EQ(HM_VD_MC_process(nullptr), -1);
    mc_data_s empty{};
    EXPECT_EQ(HM_VD_MC_process(&empty), -1) << "no result record";
    EXPECT_EQ(HM_VD_MC_apf_process_outside(nullptr), -1);
    EXPECT_EQ(HM_VD_MC_apf_process_outside(&empty), -1);
    double m[12], p[3], eyes[3][3];
    tag_t rotated = 0;
    EXPECT_EQ(HM_VD_MC_pro_position_outside_mirror(nullptr, nullptr, nullptr, m, &rotated, p, eyes), -1);
    EXPECT_EQ(HM_VD_MC_pro_outside_analysis(nullptr, nullptr, eyes), -1);
}

/* ---- the outside run ---- */

TEST_F(CertificationTest, DriverMirrorAimedSoThePrimeRayLeavesRearward) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    ASSERT_EQ(Init(sedan::driver_input(glass)), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_outside_result_s& o = *data_.outside;
    // The eye on the mirror's side is the left eye (pivot y -1000 <= eye y -370).
    const double tolerances[2] = {data_.distance_tolerance, data_.angle_tolerance};
    double pierce[3], r[3];
    ASSERT_EQ(HM_VD_MC_reflex(o.surface, o.left_eye, data_.prime_point, tolerances, pierce, r), 0);
    EXPECT_LT(std::fabs(std::atan2(r[1], r[0])) * kDegrees, data_.angle_tolerance);
    EXPECT_LT(std::fabs(std::asin(r[2])) * kDegrees, data_.angle_tolerance);
    EXPECT_NE(o.mirror_rotation_angle_pv, 0.0);

    for (const char* name : {"ANGLE_VIEW", "EYES", "HEADPIVOT", "ROTEYES", "ROTHEAD_PVT", "ROTMIRROR", "L_VISION_A",
                             "R_VISION_A", "MIR_WIDE", "EYE_MIR_WIDE", "VIS_TRNGL_A", "MIR_ROT_TRNGL_A",
                             "EYE_MIR_OUTBRD_A", "EYE_MIR_INBRD_A", "EYE_MIR_HORZ_A", "HORIZON_A", "INBOARD_A",
                             "OUTBOARD_A"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(HasResult(name));
    }
    EXPECT_FALSE(HasResult("VIS_TRNGL_B"));
    // Target A 20 m behind the eye at the car's side, B 4 m further out (-y).
    EXPECT_NEAR(o.first->point_a[1], sedan::kCarSide, 1e-9);
    EXPECT_NEAR(o.first->point_b[1], sedan::kCarSide - 4000.0, 1e-9);
    EXPECT_NEAR(o.first->point_a[0] - o.values_b[0], 20000.0, 1e-9);
    // Both mirror-triangle corners lie on the glass: positive deviations, no warnings 2 or 3.
    EXPECT_GT(o.first->inboard_deviation, 0.0);
    EXPECT_GT(o.first->outboard_deviation, 0.0);
    EXPECT_FALSE(Warned(2));
    EXPECT_FALSE(Warned(3));
    // The report went to the listing window.
    EXPECT_NE(host_testing::listing_window().find("Mirror Certification Driver Outside - Summary Results"),
              std::string::npos);
}

// Trace lines and the rotated-mirror copies on layer 100 need both the
// checking level and the tool's debug key: a checking level alone leaves the
// user's part as a plain run does.
TEST_F(CertificationTest, DebugCopiesAndTraceLinesNeedTheDebugKeyAsWellAsTheCheckingLevel) {
    struct Case {
        const char* what;
        int level;
        bool key;
        bool debugging;
    };
    const Case cases[] = {
        {"checking level 1 without the key", 1, false, false},
        {"the key at checking level 0", 0, true, false},
        {"checking level 1 with the key", 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_VD_MC_release_data(&data_);
        host_testing::clear_sinks();
        host_testing::set_checking_level(c.level);
        host_testing::set_debug_key("MIRROR_CERT", c.key);
        const tag_t glass = sedan::convex_patch(190.0, 120.0);
        ASSERT_EQ(Init(sedan::driver_input(glass)), 0);
        const std::set<tag_t> before = part_objects();
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;

        int copies = 0;
        for (tag_t t : part_objects()) {
            if (before.count(t)) continue;
            char name[64] = "";
            HM_OBJ_ask_name(t, name, sizeof name);
            if (std::strncmp(name, "ROTATED_MIRROR_", 15) != 0) continue;
            ++copies;
            int layer = 0;
            HM_OBJ_ask_layer(t, &layer);
            EXPECT_EQ(layer, 100) << name;
            HM_VD_delete_object(t);
        }
        int traced = 0;
        bool began = false;
        for (const std::string& line : host_testing::error_lines()) {
            if (line.find("+++") != std::string::npos) ++traced;
            if (line == "+++ mirror certification progress begin \n") began = true;
        }
        if (c.debugging) {
            EXPECT_GE(copies, 1);
            EXPECT_LE(copies, 50);
            EXPECT_TRUE(began);
        } else {
            EXPECT_EQ(copies, 0);
            EXPECT_EQ(traced, 0);
        }
        HM_VD_delete_object(glass);
    }
}

TEST_F(CertificationTest, WithoutPositioningTheMirrorStaysAndTheLeftEyeSetsThePrimePoint) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.positioning = false;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_outside_result_s& o = *data_.outside;
    EXPECT_EQ(o.mirror_rotation_angle_ls, 0.0);
    EXPECT_EQ(o.mirror_rotation_angle_pv, 0.0);
    double expected[3];
    carvell::mirror::mc_mirror_reflection_point(o.surface, o.left_eye, expected);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(data_.prime_point[i], expected[i], 1e-9);
    // The surface was left where it is: its vertex is still the pivot.
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(o.surface->vertex[i], sedan::kGlassCentre[i], 1e-6);
}

TEST_F(CertificationTest, APivotLevelWithTheEyeTakesTheLeftEyeAndTheOutboardSide) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.positioning = false;
    in.eye_reference_point[1] = sedan::kGlassCentre[1];
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_outside_result_s& o = *data_.outside;
    double expected[3];
    carvell::mirror::mc_mirror_reflection_point(o.surface, o.left_eye, expected);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(data_.prime_point[i], expected[i], 1e-9);
    // "At most": B lies to +y of A, and the widest sight line exists.
    EXPECT_GT(o.first->point_b[1], o.first->point_a[1]);
    EXPECT_TRUE(HasResult("MIR_WIDE"));
}

TEST_F(CertificationTest, ARadiusAtALegalLimitRaisesNoRangeWarning) {
    // The glass's radius as the face gives it (1400 to rounding).
    double radius = 0.0;
    {
        const tag_t glass = sedan::convex_patch(190.0, 120.0);
        mc_input_data_t in = sedan::driver_input(glass);
        in.positioning = false;
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        radius = data_.outside->surface->radius;
        EXPECT_NEAR(radius, sedan::kGlassRadius, 1e-6);
    }
    struct Case {
        const char* what;
        double lower, upper;
        bool warned;
    };
    const Case cases[] = {{"at the lower limit", radius, 99999.0, false},
                          {"at the upper limit", 100.0, radius, false},
                          {"below the lower limit", radius + 0.001, 99999.0, true},
                          {"above the upper limit", 100.0, radius - 0.001, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_VD_MC_release_data(&data_);
        const tag_t glass = sedan::convex_patch(190.0, 120.0);
        mc_input_data_t in = sedan::driver_input(glass);
        in.positioning = false;
        in.lower_legal_radius = c.lower;
        in.upper_legal_radius = c.upper;
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        EXPECT_EQ(Warned(10), c.warned);
    }
}

TEST_F(CertificationTest, AMirrorSheetOfTwoFacesFailsTheOutsideAnalysis) {
    const std::vector<tag_t> two = sedan::backlite();
    int count = 0;
    tag_t* sheets = nullptr;
    ASSERT_EQ(extract_and_sew_faces(2, two.data(), &count, &sheets), 0);
    ASSERT_EQ(count, 1);
    const tag_t sewn = sheets[0];
    SM_free(sheets);
    mc_input_data_t in = sedan::driver_input(sewn);
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(HM_VD_MC_apf_process_outside(&data_), 1);
    EXPECT_EQ(std::string(data_.error_text),
              "The program failed to construct a plane/sphere mirror through the \ninput sheet of the outside "
              "mirror.");
    EXPECT_EQ(Run(), 4);
}

TEST_F(CertificationTest, APassengerMirrorComparedWithItselfSkipsTheAreaTest) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.mirror_kind = 2;
    in.standard_row = 0;   // FMVSS 111 passenger: eyellipse rows compare areas
    in.opposite_mirror = glass;
    in.skip_area_test = false;
    ASSERT_EQ(Init(in), 0);
    data_.eye_method = 0;
    // The area comparison runs before the eyes are needed.
    mc_mirror_surface_record* s = data_.outside->surface;
    (void)s;
    EXPECT_NE(HM_VD_MC_apf_process_outside(&data_), 1);
    EXPECT_TRUE(data_.skip_area_test);
    EXPECT_EQ(data_.outside->driver_mirror_area_percentage, 0.0);
    EXPECT_TRUE(Warned(7));
}

TEST_F(CertificationTest, ACornerOfTheMirrorTriangleOffTheGlassGivesANegativeDeviation) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.standard_value = 25000.0;   // a field far wider than the glass can show
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    EXPECT_LT(data_.outside->first->outboard_deviation, 0.0);
    EXPECT_TRUE(Warned(3));
    EXPECT_GT(data_.outside->first->inboard_deviation, 0.0);
    EXPECT_FALSE(Warned(2));
}

TEST_F(CertificationTest, ARestrictionThatCannotBeCarriedThroughTheMirrorStillSucceedsWithWarning22) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    // A body behind the driver's eyes: no sight ray through it meets the mirror.
    const double corner[3] = {1600, -500, 1100}, size[3] = {100, 100, 100};
    const tag_t box = host_testing::make_box(corner, size);
    mc_input_data_t in = sedan::driver_input(glass);
    in.eye_mirror_restriction_count = 1;
    in.eye_mirror_restrictions = &box;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    EXPECT_TRUE(Warned(22));
}

TEST_F(CertificationTest, TheDualTargetOfThePassengerMirrorMakesTheCylinder) {
    // The passenger mirror: the driver's glass mirrored to y = +1000.
    const tag_t left = sedan::convex_patch(190.0, 120.0);
    const double origin[3] = {0, 0, 0};
    const double flip[9] = {1, 0, 0, 0, -1, 0, 0, 0, 1};
    tag_t glass = 0;
    ASSERT_EQ(VD_map_geom_csys2abs(left, origin, flip, &glass), 0);
    HM_VD_delete_object(left);
    mc_input_data_t in = sedan::driver_input(glass);
    in.mirror_kind = 2;
    in.standard_row = 4;   // Japan: a second target 300 mm wide
    in.mirror_reference_point[1] = in.prime_point[1] = -sedan::kGlassCentre[1];
    in.first_target_point[1] = -sedan::kCarSide;
    in.second_target_point[0] = 4000.0;
    in.standard_distance = 20000.0;
    in.standard_value = 4000.0;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    EXPECT_TRUE(HasResult("VIS_TRNGL_B"));
    EXPECT_TRUE(HasResult("MIR_ROT_TRNGL_B"));
    EXPECT_TRUE(HasResult("L_VISION_B"));
    bool blanked = false;
    HM_OBJ_ask_blank_status(Result("VIS_TRNGL_B"), &blanked);
    EXPECT_TRUE(blanked);
    const mc_outside_target_s& second = *data_.outside->second;
    EXPECT_NEAR(second.point_a[0], 4000.0, 1e-9);
    EXPECT_NEAR(second.point_b[1] - second.point_a[1], 300.0, 1e-9) << "towards +y for a mirror on the right";
    // The cylinder stands on the second target, 300 across and 1000 high.
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(Result("VIS_TRNGL_B"), box), 0);
    EXPECT_NEAR(box[3] - box[0], 300.0, 1e-3);
    EXPECT_NEAR(box[5] - box[2], 1000.0, 1e-3);
}

/* ---- the process flow ---- */

TEST_F(CertificationTest, BackliteFacesThatDoNotSewFailWithCodeOneAndLeaveThePart) {
    const tag_t glass = sedan::inside_glass();
    lite_ = sedan::backlite(50.0);   // the lower face lifted 50 mm off the upper
    ASSERT_EQ(Init(sedan::inside_input(glass, lite_)), 0);
    const std::set<tag_t> before = part_objects();
    EXPECT_EQ(HM_VD_MC_process(&data_), 1);
    EXPECT_EQ(std::string(data_.error_text),
              "The program failed to sew backlite faces into one piece \nwhen attempting to covert face into sheet "
              "body.");
    EXPECT_EQ(part_objects(), before);
    EXPECT_EQ(host_testing::listing_window(), "") << "no report after a failure";
}

TEST_F(CertificationTest, RunWarningsAndTheCertifiesFlag) {
    struct Case {
        const char* what;
        bool head_rotation, override_values, mt_restriction;
        int warning;
        bool certifies;
    };
    const Case cases[] = {
        {"head rotation with ocular points", true, false, false, 5, false},
        {"user override", false, true, false, 15, true},
        {"mirror-target restrictions of an outside mirror", false, false, true, 18, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_VD_MC_release_data(&data_);
        const tag_t glass = sedan::convex_patch(190.0, 120.0);
        const double corner[3] = {5000, -2000, 0}, size[3] = {300, 300, 300};
        const tag_t box = host_testing::make_box(corner, size);
        mc_input_data_t in = sedan::driver_input(glass);
        in.positioning = false;
        const V glass_corner = sedan::glass_corner(glass);   // on the perimeter: no warning 6
        std::copy(glass_corner.begin(), glass_corner.end(), in.prime_point);
        in.head_rotation = c.head_rotation;
        if (c.override_values) {
            in.user_override = true;
            in.user_distance = 20000.0;
            in.user_value = 4000.0;
        }
        if (c.mt_restriction) {
            in.mirror_target_restriction_count = 1;
            in.mirror_target_restrictions = &box;
        }
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        EXPECT_TRUE(Warned(c.warning));
        EXPECT_EQ(data_.certifies, c.certifies);
    }
}

TEST_F(CertificationTest, APrimePointInsideTheGlassWarnsAndClearsTheCertifiesFlag) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.positioning = false;
    // The glass centre lies on the glass, not on its perimeter.
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
    EXPECT_TRUE(Warned(6));
    EXPECT_FALSE(data_.certifies);
}

// The same run in a vehicle frame shifted and turned: the results come back
// in absolute coordinates as the identity run gave them.
TEST_F(CertificationTest, ATurnedAndShiftedVehicleFrameGivesTheIdentityRunMappedBack) {
    double identity_points[4][3], identity_angles[3];
    std::vector<std::string> identity_names;
    {
        const tag_t glass = sedan::convex_patch(190.0, 120.0);
        mc_input_data_t in = sedan::driver_input(glass);
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        const mc_outside_result_s& o = *data_.outside;
        std::copy(o.left_eye, o.left_eye + 3, identity_points[0]);
        std::copy(o.first->point_a, o.first->point_a + 3, identity_points[1]);
        std::copy(o.first->point_b, o.first->point_b + 3, identity_points[2]);
        std::copy(o.pivot, o.pivot + 3, identity_points[3]);
        identity_angles[0] = o.mirror_rotation_angle_pv;
        identity_angles[1] = o.ambinocular_angle_at_ground_pv;
        identity_angles[2] = o.first->inboard_deviation;
        identity_names = ResultNames();
        HM_VD_MC_release_data(&data_);
    }
    // Frame: origin (1000, 200, -50), turned 90 degrees about z. The car's
    // geometry is laid out in absolute coordinates accordingly.
    const double origin[3] = {1000, 200, -50};
    const double matrix[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    auto to_abs = [&](V p) {
        double out[3];
        VD_map_point_csys2abs(p.data(), origin, matrix, out);
        return V{out[0], out[1], out[2]};
    };
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    tag_t placed = 0;
    ASSERT_EQ(VD_map_geom_csys2abs(glass, origin, matrix, &placed), 0);
    HM_VD_delete_object(glass);
    mc_input_data_t in = sedan::driver_input(placed);
    std::copy(matrix, matrix + 9, in.vehicle_orientation);
    std::copy(origin, origin + 3, in.vehicle_origin);
    for (double* p : {in.eye_reference_point, in.mirror_reference_point, in.prime_point, in.first_target_point}) {
        const V a = to_abs({p[0], p[1], p[2]});
        std::copy(a.begin(), a.end(), p);
    }
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_outside_result_s& o = *data_.outside;
    const double* got[4] = {o.left_eye, o.first->point_a, o.first->point_b, o.pivot};
    for (int k = 0; k < 4; ++k) {
        const V expected = to_abs({identity_points[k][0], identity_points[k][1], identity_points[k][2]});
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[k][i], expected[i], 1e-6) << "point " << k;
    }
    EXPECT_NEAR(o.mirror_rotation_angle_pv, identity_angles[0], 1e-6);
    EXPECT_NEAR(o.ambinocular_angle_at_ground_pv, identity_angles[1], 1e-6);
    EXPECT_NEAR(o.first->inboard_deviation, identity_angles[2], 1e-6);
    EXPECT_EQ(ResultNames(), identity_names);
    // The mapped-back mirror lies about the absolute glass centre.
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(Result("ROTMIRROR"), box), 0);
    const V centre = to_abs(sedan::kGlassCentre);
    EXPECT_NEAR(0.5 * (box[0] + box[3]), centre[0], 120.0);
    EXPECT_NEAR(0.5 * (box[1] + box[4]), centre[1], 120.0);
}

TEST_F(CertificationTest, LoadingWithEqualHeightsOnlyDrops) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.positioning = false;
    in.loading = true;
    const double points[3][3] = {{500, 0, 320}, {1000, 0, 300}, {3000, 0, 300}};
    std::memcpy(in.loading_points, points, sizeof points);
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    // Drop z(P1) - z(P2) = 20: everything comes down by 20, no pitch.
    EXPECT_NEAR(data_.eye_reference_point[0], sedan::kSgrp[0], 1e-9);
    EXPECT_NEAR(data_.eye_reference_point[2], sedan::kSgrp[2] - 20.0, 1e-9);
    EXPECT_NEAR(data_.mirror_reference_point[2], sedan::kGlassCentre[2] - 20.0, 1e-9);
    EXPECT_NEAR(data_.saved_eye_reference_point[2], sedan::kSgrp[2], 1e-9);
}

TEST_F(CertificationTest, LoadingPitchUsesItsOwnDegreeFactor) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.positioning = false;
    in.loading = true;
    // P1 = P2: no drop; P3 25 mm lower 2000 mm behind P2.
    const double points[3][3] = {{1000, 0, 300}, {1000, 0, 300}, {3000, 0, 275}};
    std::memcpy(in.loading_points, points, sizeof points);
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const double pitch = std::atan(-25.0 / 2000.0) * 57.29577319531843;   // degrees
    const double a = pitch / 57.29577951308232;                         // as the host turns it
    // Counter-clockwise about +y through P2: x' = x cos a + z sin a, z' = -x sin a + z cos a.
    const double dx = sedan::kSgrp[0] - 1000.0, dz = sedan::kSgrp[2] - 300.0;
    EXPECT_NEAR(data_.eye_reference_point[0], 1000.0 + dx * std::cos(a) + dz * std::sin(a), 1e-9);
    EXPECT_NEAR(data_.eye_reference_point[2], 300.0 - dx * std::sin(a) + dz * std::cos(a), 1e-9);
}

TEST_F(CertificationTest, APitchWhosePointsStandOneAboveTheOtherFailsTheLoading) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.loading = true;
    const double points[3][3] = {{1000, 0, 320}, {1000, 0, 300}, {1000, 0, 280}};
    std::memcpy(in.loading_points, points, sizeof points);
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(std::string(data_.error_text),
              "The program failed to rotate mirror and vehicle data \nwhen attempting to apply loading.");
    for (double v : data_.eye_reference_point) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(CertificationTest, NoEyePointsFailWithCodeTwo) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    in.standard_row = 0;   // FMVSS 111: eyes from an eyellipse the part does not hold
    in.eyellipse_rule_name = "no_such_eyellipse";
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(std::string(data_.error_text),
              "The program failed to find an appropriate eye point \nwhen attempting to calculate the eye position.");
}

/* ---- the inside run ---- */

TEST_F(CertificationTest, InsideSearchScoresFromOneAndThreeTolerances) {
    using carvell::mirror::inside_search_score;
    EXPECT_DOUBLE_EQ(inside_search_score(0.5, 0.9, 2.99), 0.0);
    EXPECT_DOUBLE_EQ(inside_search_score(0.0, 0.0, 3.0), 2.0) << "three tolerances of side error score 2";
    EXPECT_DOUBLE_EQ(inside_search_score(1.0, 2.5, 0.0), 1.5);
    EXPECT_DOUBLE_EQ(inside_search_score(4.0, 0.0, 5.0), 7.0);
}

TEST_F(CertificationTest, InsideWithoutPositioningMeasuresTheFieldByHand) {
    const tag_t glass = sedan::inside_glass();
    lite_ = sedan::backlite();
    mc_input_data_t in = sedan::inside_input(glass, lite_);
    in.positioning = false;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_inside_result_s& r = *data_.inside;
    const mc_inside_target_s& u_ = *r.upper;
    EXPECT_EQ(u_.plan_view_angle, 0.0);
    EXPECT_EQ(u_.side_view_angle, 0.0);
    for (const std::string& name : ResultNames()) EXPECT_NE(name.rfind("D_", 0), 0u) << name;

    // Virtual eyes: the eyes mirrored through the glass plane.
    const V n = sedan::inside_normal(), c = sedan::kInsideCentre;
    auto image = [&](const double e[3]) {
        const V p = {e[0], e[1], e[2]};
        return sub(p, scale(2.0 * dot(sub(p, c), n), n));
    };
    const V left = image(r.left_eye), right = image(r.right_eye);
    HM_CURVE_line_t lft{}, rht{};
    ASSERT_EQ(HM_CURVE_ask_line_data(Result("U_LFT_MIRR"), &lft), 0);
    ASSERT_EQ(HM_CURVE_ask_line_data(Result("U_RHT_MIRR"), &rht), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(lft.start_point[i], right[i], 1e-6);
        EXPECT_NEAR(rht.start_point[i], left[i], 1e-6);
    }
    // The envelope lines run in plan over the glass's outermost corners.
    double lft_angle = 1e9, rht_angle = -1e9;
    for (const V& k : sedan::inside_corners()) {
        lft_angle = std::min(lft_angle, std::atan2(k[1] - right[1], k[0] - right[0]));
        rht_angle = std::max(rht_angle, std::atan2(k[1] - left[1], k[0] - left[0]));
    }
    EXPECT_NEAR(u_.mirror_restrict_angle, (rht_angle - lft_angle) * kDegrees, 1e-3);

    // Backlite: its outline's extreme projections from the outer virtual
    // eyes onto the centering plane (x of the backlite's fitted origin).
    const V corners[6] = {{2500, -500, 1400}, {2750, -537.5, 1200}, {3000, -575, 1000},
                          {2500, 500, 1400},  {2750, 537.5, 1200},  {3000, 575, 1000}};
    // The plan angle of the sight line over a corner does not depend on the plane.
    double min_angle = 1e9, max_angle = -1e9;
    for (const V& c : corners) {
        min_angle = std::min(min_angle, std::atan2(c[1] - right[1], c[0] - right[0]));
        max_angle = std::max(max_angle, std::atan2(c[1] - left[1], c[0] - left[0]));
    }
    EXPECT_NEAR(u_.backlite_restrict_angle, (max_angle - min_angle) * kDegrees, 1e-3);

    // The ambinocular field is the narrower of the two at each side here.
    EXPECT_LE(u_.ambinocular_angle, std::min(u_.mirror_restrict_angle, u_.backlite_restrict_angle) + 1e-9);
    EXPECT_EQ(u_.ambinocular_angle_checked, u_.ambinocular_angle);
    const double reach = r.standard_ground_point[0] - data_.mid_eye_point[0];
    EXPECT_NEAR(reach, 60000.0, 1e-9);
    EXPECT_NEAR(u_.field_width, 2.0 * std::tan(0.5 * u_.ambinocular_angle / kDegrees) * reach, 1e-6);
    // The closest visible ground point is on the ground, behind the eyes.
    EXPECT_NEAR(u_.closest_ground_point[2], 0.0, 1e-6);
    EXPECT_NEAR(u_.ground_distance, u_.closest_ground_point[0] - data_.mid_eye_point[0], 1e-9);
    EXPECT_GT(u_.ground_distance, 0.0);
    for (const char* name : {"BACKLITE", "EYES", "HEADPVT", "U_ROTMIRR", "U_VRT_EYES", "U_LFT_MIR_PLN",
                             "U_RHT_BCK_PLN", "U_LFT_AMB", "U_RHT_AMB", "U_GROUND", "U_HORIZON", "U_UP_LINE",
                             "U_GRND_INT", "U_DWN_LINE", "U_CTR_TRNGL", "U_MIR_TRNGL"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(HasResult(name));
    }
}

TEST_F(CertificationTest, InsideFieldWidthEqualToTheStandardRaisesNoWarning) {
    double width = 0.0;
    {
        const tag_t glass = sedan::inside_glass();
        lite_ = sedan::backlite();
        mc_input_data_t in = sedan::inside_input(glass, lite_);
        in.positioning = false;
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        width = data_.inside->upper->field_width;
    }
    struct Case {
        const char* what;
        double standard;
        bool override_values;
        bool warned_standard, warned_user;
    };
    const Case cases[] = {
        {"equal to the standard", width, false, false, false},
        {"a standard just above the field", width * 1.0001, false, true, false},
        {"a user width above the field", 1e9, true, false, true},
        {"a user width equal to the field", width, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_VD_MC_release_data(&data_);
        const tag_t glass = sedan::inside_glass();
        lite_ = sedan::backlite();
        mc_input_data_t in = sedan::inside_input(glass, lite_);
        in.positioning = false;
        in.standard_value = c.override_values ? 1e9 : c.standard;
        in.user_override = c.override_values;
        in.user_distance = 60000.0;
        in.user_value = c.standard;
        ASSERT_EQ(Init(in), 0);
        ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
        EXPECT_EQ(Warned(1), c.warned_standard);
        EXPECT_EQ(Warned(17), c.warned_user);
    }
}

TEST_F(CertificationTest, InsideUserDistancePlacesTheGroundPoint) {
    const tag_t glass = sedan::inside_glass();
    lite_ = sedan::backlite();
    mc_input_data_t in = sedan::inside_input(glass, lite_);
    in.positioning = false;
    in.user_override = true;
    in.user_distance = 45000.0;
    in.user_value = 15000.0;
    ASSERT_EQ(Init(in), 0);
    ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
    EXPECT_NEAR(data_.inside->standard_ground_point[0] - data_.mid_eye_point[0], 45000.0, 1e-9);
    EXPECT_TRUE(Warned(15));
}

TEST_F(CertificationTest, InsidePositioningAnalysesAnUpperAndALowerTarget) {
    const tag_t glass = sedan::inside_glass();
    lite_ = sedan::backlite();
    ASSERT_EQ(Init(sedan::inside_input(glass, lite_)), 0);
    ASSERT_EQ(Run(), 0) << data_.error_text;
    const mc_inside_target_s& u = *data_.inside->upper;
    const mc_inside_target_s& d = *data_.inside->lower;
    EXPECT_NE(u.plan_view_angle, 0.0);
    EXPECT_NE(u.side_view_angle, d.side_view_angle) << "the lower target tilts the mirror further";
    for (const char* name : {"U_ROTMIRR", "D_ROTMIRR", "D_GROUND", "D_LFT_AMB", "U_CTR_TRNGL"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(HasResult(name));
    }
    EXPECT_FALSE(HasResult("D_CTR_TRNGL"));
    bool blanked = false;
    HM_OBJ_ask_blank_status(Result("D_GROUND"), &blanked);
    EXPECT_TRUE(blanked) << "the lower target's objects are blanked";
    EXPECT_NE(host_testing::listing_window().find("Up Angle LS (Up)"), std::string::npos);
}

}  // namespace

namespace {

// FMVSS 111: the eyes from the part's eyellipse (whose plan-view conics the
// initialisation made; the run deletes them), the angle checked.
TEST_F(CertificationTest, InsideMirrorWithTheEyellipseChecksTheFieldAngle) {
    host_testing::EyellipseSpec e;
    e.centroids = {sedan::V{1290.0, -402.5, 1158.0}, sedan::V{1290.0, -370, 1158.0}, sedan::V{1290.0, -337.5, 1158.0}};
    e.lengths = e.lengths_95 = {206.4, 60.3, 93.4};
    e.lengths_99 = {287.1, 85.3, 132.1};
    host_testing::make_eyellipse("EYELLIPSE_95", e);
    const tag_t glass = sedan::inside_glass();
    lite_ = sedan::backlite();
    mc_input_data_t in = sedan::inside_input(glass, lite_);
    in.standard_row = 0;
    in.positioning = false;
    in.eyellipse_rule_name = "EYELLIPSE_95";
    in.standard_distance = 61000.0;
    in.standard_value = 20.0;
    ASSERT_EQ(Init(in), 0);
    const tag_t conics[2] = {data_.eyellipse_conics[0], data_.eyellipse_conics[1]};
    ASSERT_EQ(Run(), 0) << data_.error_text;
    for (tag_t conic : conics) EXPECT_NE(HM_OBJ_ask_status(conic), HM_OBJ_ALIVE) << "the conics are gone";
    const mc_inside_target_s& u = *data_.inside->upper;
    EXPECT_EQ(Warned(0), u.ambinocular_angle_checked < 20.0);
    EXPECT_TRUE(HasResult("U_CTR_TRNGL"));
    EXPECT_NE(host_testing::listing_window().find("Standard Angle"), std::string::npos);
}

}  // namespace
