// Reading an H-point design instance back into its record: the attributes,
// the mapping into the design's reference frame, the PRP, the posture of
// each leg, the SgRP curve distance, the lock option and the associated
// sheets.
#include "host_fixture.h"
#include "hpd.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "quillon.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace occupant_test;

const double kTol = 1e-6;

// The design's reference frame: origin (100, 200, 300), its x axis along
// absolute +Y, its y axis along absolute -X. Frame coordinates p sit at the
// absolute point origin + p.x * x + p.y * y + p.z * z.
const char* const kFrameText = "Frame(100,200,300, 0,1,0, -1,0,0, 0,0,1)";
void to_absolute(const double p[3], double out[3]) {
    out[0] = 100.0 - p[1];
    out[1] = 200.0 + p[0];
    out[2] = 300.0 + p[2];
}
std::string point_text(const double frame_point[3]) {
    double a[3];
    to_absolute(frame_point, a);
    return rule_point(a[0], a[1], a[2]);
}

// The heel whose ankle is at (ankle L, ankle H).
void heel_below_ankle(double ankle_l, double ankle_h, double w, double shoe_angle, double scale, double heel[3]) {
    const SideOffset offset = ankle_offset_mm(shoe_angle);
    heel[0] = ankle_l - offset.l * scale;
    heel[1] = w;
    heel[2] = ankle_h - offset.h * scale;
}

// A driver design with a left and a second right leg, every length given in
// millimetres times `scale` (1 for a millimetre part, 1/25.4 for inches).
// Legs are 500 long, so with the SgRP S:
//   right ankle at S + (-480, -360): knee S + (-480, 140), thigh 16.2602,
//     knee 73.7398, ankle 90 -> (180 - 30 + 6.5) = 66.5, hip 22 + 90 - thigh,
//     leg room 600 + 254;
//   left ankle at S + (-600, 0): knee S + (-300, 400), thigh 53.1301,
//     knee 73.7398, ankle 53.1301 -> (180 - 20 + 6.5) = 113.3699;
//   second right ankle at S + (-300, -400): leg room 500 + 254.
struct KnownDesign {
    double scale;
    double sgrp[3];
    double right_heel[3];
    double ahp[3];
    double left_heel[3];
    double second_heel[3];

    explicit KnownDesign(double s) : scale(s) {
        sgrp[0] = 1000 * s;
        sgrp[1] = -370 * s;
        sgrp[2] = 600 * s;
        heel_below_ankle(sgrp[0] - 480 * s, sgrp[2] - 360 * s, sgrp[1], 30.0, s, right_heel);
        ahp[0] = right_heel[0] + 5 * s;
        ahp[1] = right_heel[1];
        ahp[2] = right_heel[2];
        heel_below_ankle(sgrp[0] - 600 * s, sgrp[2], sgrp[1] - 200 * s, 20.0, s, left_heel);
        heel_below_ankle(sgrp[0] - 300 * s, sgrp[2] - 400 * s, sgrp[1] + 150 * s, 10.0, s, second_heel);
    }

    host_testing::RuleTexts rules() const {
        return {
            {"rcode", "0"},
            {"Algorithm_version", "2"},
            {"referenceFrame", kFrameText},
            {"pv_angle_internal", "0.0"},
            {"rt_clear_interference?", "TRUE"},
            {"rt_lateral_offset_internal", rule_number(25 * scale)},
            {"seating_position", "0"},
            {"vehicle_class", "1"},
            {"Male_Female_Ratio", "1"},
            {"UI_leg_length_type", "2"},
            {"upper_leg_length_internal", rule_number(500 * scale)},
            {"lower_leg_length_internal", rule_number(500 * scale)},
            {"target_back_angle_internal", "22.0"},
            {"target_cushion_angle_internal", "14.5"},
            {"target_lumbar_support_internal", rule_number(10 * scale)},
            {"position_left_shoe?", "TRUE"},
            {"UI_move_along_SgRP_curve?", "TRUE"},
            {"is_copy_right_shoe_orientation", "0"},
            {"use_variable_toggle", "1"},
            {"variable_type", "3"},
            {"adjust_variable", "12.5"},
            {"UpdateSgrpPt", point_text(sgrp)},
            {"occ_position_method", "1"},
            {"Result_AHPs",
             "{ " + point_text(right_heel) + ", " + point_text(left_heel) + ", " + point_text(second_heel) + " }"},
            {"AHPs", "{ " + point_text(ahp) + " }"},
            {"A47s", "{ 30.0, 20.0, 10.0 }"},
            {"add_2nd_right_leg?", "TRUE"},
            {"rt_lock_type", "4"},
            {"rt_use_ALPHA?", "FALSE"},
        };
    }
};

host_testing::RuleTexts without(host_testing::RuleTexts rules, std::initializer_list<const char*> names) {
    for (const char* name : names)
        for (auto it = rules.begin(); it != rules.end(); ++it)
            if (it->first == name) {
                rules.erase(it);
                break;
            }
    return rules;
}

// A record filled with a recognisable non-zero pattern, to see what the
// reader writes and what it leaves alone.
HPD_apf_values_t patterned_record() {
    HPD_apf_values_t v;
    std::memset(&v, 0x41, sizeof v);
    v.position_left_shoe = true;
    v.add_2nd_right_leg = true;
    return v;
}
bool same_bytes(const HPD_apf_values_t& a, const HPD_apf_values_t& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void check_known_design(double scale) {
    const KnownDesign d(scale);
    ASSERT_NE(host_testing::make_rule_instance("root:", "DRIVER", kDesignClass, d.rules()), 0u);

    HPD_apf_values_t v = patterned_record();
    ASSERT_EQ(HM_VD_HPD_ask_result("DRIVER", &v), 0);
    const double tol = kTol;

    EXPECT_EQ(v.algorithm_version, 2);
    EXPECT_EQ(v.part_unit, scale == 1.0 ? 0 : 1);
    EXPECT_EQ(v.seating_position, 0);
    EXPECT_EQ(v.vehicle_class, 1);
    EXPECT_EQ(v.male_female_ratio, 1);
    EXPECT_EQ(v.leg_length_type, 2);
    EXPECT_EQ(v.clear_interference, 1);
    EXPECT_EQ(v.move_along_sgrp_curve, 1);
    EXPECT_EQ(v.copy_right_shoe_orientation, 0);
    EXPECT_EQ(v.use_variable, 1);
    EXPECT_EQ(v.variable_type, 3);
    EXPECT_EQ(v.occ_position_method, 1);
    EXPECT_EQ(v.reverse_option, 4) << "version 2 stores the lock type whole";
    EXPECT_TRUE(v.position_left_shoe);
    EXPECT_TRUE(v.add_2nd_right_leg);
    EXPECT_NEAR(v.pv_angle, 0.0, tol);
    EXPECT_NEAR(v.lateral_offset, 25 * scale, tol);
    EXPECT_NEAR(v.upper_leg_length, 500 * scale, tol);
    EXPECT_NEAR(v.lower_leg_length, 500 * scale, tol);
    EXPECT_NEAR(v.back_angle, 22.0, tol);
    EXPECT_NEAR(v.cushion_angle, 14.5, tol);
    EXPECT_NEAR(v.lumbar_support, 10 * scale, tol);
    EXPECT_NEAR(v.adjust_variable, 12.5, tol);
    EXPECT_NEAR(v.sgrp_curve_distance, 0.0, tol) << "no SgRP curve";

    expect_point(v.sgrp, d.sgrp, tol, "SgRP in the reference frame");
    EXPECT_NEAR(v.seat_height, d.sgrp[2] - d.right_heel[2], tol);

    // PRP: the AHP moved across by the lateral offset (pv 0: +W), then the
    // 200 mm sole at 30 degrees: L - 200 cos 30, H + 200 sin 30.
    const double prp[3] = {d.ahp[0] - 200 * scale * std::cos(kPi / 6), d.ahp[1] + 25 * scale,
                           d.ahp[2] + 200 * scale * std::sin(kPi / 6)};
    expect_point(v.prp, prp, tol, "PRP");

    const double thigh_r = std::atan2(140.0, 480.0) * 180 / kPi;   // 16.2602
    const double knee = 2 * std::asin(0.6) * 180 / kPi;            // 73.7398
    const HPD_apf_shoe_values_t& r = v.right_shoe;
    expect_point(r.heel_point, d.right_heel, tol, "right heel");
    EXPECT_NEAR(r.pedal_angle, 30.0, tol);
    EXPECT_NEAR(r.thigh_angle, thigh_r, 1e-6);
    EXPECT_NEAR(r.knee_angle, knee, 1e-6);
    EXPECT_NEAR(r.ankle_angle, 66.5, 1e-6);
    EXPECT_NEAR(r.hip_angle, 22 + 90 - thigh_r, 1e-6);
    EXPECT_NEAR(r.leg_room, (600 + 254) * scale, 1e-6);

    const double thigh_l = std::atan2(400.0, 300.0) * 180 / kPi;   // 53.1301
    const HPD_apf_shoe_values_t& l = v.left_shoe;
    expect_point(l.heel_point, d.left_heel, tol, "left heel");
    EXPECT_NEAR(l.pedal_angle, 20.0, tol);
    EXPECT_NEAR(l.thigh_angle, thigh_l, 1e-6);
    EXPECT_NEAR(l.knee_angle, knee, 1e-6);
    EXPECT_NEAR(l.ankle_angle, 180 - 20 + 6.5 - thigh_l, 1e-6);
    EXPECT_NEAR(l.hip_angle, 22 + 90 - thigh_l, 1e-6);
    EXPECT_NEAR(l.leg_room, (600 + 254) * scale, 1e-6);

    // The second right leg carries only its leg room.
    const HPD_apf_shoe_values_t& s = v.second_right_shoe;
    expect_point(s.heel_point, d.second_heel, tol, "second right heel");
    EXPECT_NEAR(s.pedal_angle, 10.0, tol);
    EXPECT_NEAR(s.ankle_angle, 130.0, tol);
    EXPECT_NEAR(s.hip_angle, 0.0, tol);
    EXPECT_NEAR(s.knee_angle, 0.0, tol);
    EXPECT_NEAR(s.thigh_angle, 0.0, tol);
    EXPECT_NEAR(s.leg_room, (500 + 254) * scale, 1e-6);
}

// The design record, the leg postures, the SgRP curve, the lock option and the
// associated sheets.
class RecordTest : public HostTest {
protected:
    // A design `name` whose SgRP curve instance has class `curve_class` and
    // made a line 30 away from the SgRP (absolute (600, 1200, 900)). The SgRP
    // curve of a design is the object of "Hpd_geometry:Sgrp_Curve"; the
    // reader measures the SgRP's distance to it.
    tag_t make_design_with_curve(const std::string& name, const char* curve_class) {
        const KnownDesign d(1.0);
        if (!host_testing::make_rule_instance("root:", name.c_str(), kDesignClass, d.rules())) return 0;
        const std::string design = "root:" + name + ":";
        if (!host_testing::make_rule_instance(design.c_str(), "Hpd_geometry", "%kw_vd_hpd_geometry")) return 0;
        const std::string geometry = design + "Hpd_geometry:";
        if (!host_testing::make_rule_instance(geometry.c_str(), "Sgrp_Curve", curve_class)) return 0;
        HM_CURVE_line_t line = {{600.0, 1230.0, 0.0}, {600.0, 1230.0, 2000.0}};
        tag_t curve = 0;
        if (HM_CURVE_create_line(&line, &curve) != 0) return 0;
        if (host_testing::add_instance_object((geometry + "Sgrp_Curve:").c_str(), curve) != 0) return 0;
        return curve;
    }
};
class RecordInchTest : public InchHostTest {};

TEST_F(RecordTest, KnownDesignReadsBackFieldByFieldInMillimetres) {
    check_known_design(1.0);
    ExpectNoLeaks();
}

TEST_F(RecordInchTest, KnownDesignReadsBackFieldByFieldInInches) {
    check_known_design(1.0 / 25.4);
    ExpectNoLeaks();
}

TEST_F(RecordTest, OccupantPackagingInstanceReadsLikeADesignInstance) {
    const KnownDesign d(1.0);
    ASSERT_NE(host_testing::make_rule_instance("root:", "A", kDesignClass, d.rules()), 0u);
    ASSERT_NE(host_testing::make_rule_instance("root:", "B", "%kw_vd_occupant_packaging", d.rules()), 0u);
    HPD_apf_values_t a, b;
    std::memset(&a, 0, sizeof a);
    std::memset(&b, 0, sizeof b);
    ASSERT_EQ(HM_VD_HPD_ask_result("A", &a), 0);
    ASSERT_EQ(HM_VD_HPD_ask_result("B", &b), 0);
    EXPECT_TRUE(same_bytes(a, b));
    ExpectNoLeaks();
}

// Attributes that are not set read as 0, false or the zero point, never as
// the value of the attribute read just before them.
TEST_F(RecordTest, UnsetAttributesKeepTheirDefaults) {
    const KnownDesign d(1.0);
    host_testing::RuleTexts rules = without(d.rules(), {"rcode", "rt_clear_interference?", "vehicle_class",
                                                        "UI_leg_length_type", "target_cushion_angle_internal",
                                                        "UI_move_along_SgRP_curve?", "variable_type", "rt_lock_type",
                                                        "rt_use_ALPHA?", "Algorithm_version"});
    rules = with_rule(rules, "Male_Female_Ratio", "2");    // read just before the leg length type
    rules = with_rule(rules, "use_variable_toggle", "1");  // read just before the variable type
    rules = with_rule(rules, "A47s", "{ 30.0, 20.0 }");    // no member 3
    rules =
        with_rule(rules, "Result_AHPs", "{ " + point_text(d.right_heel) + ", " + point_text(d.left_heel) + " }");
    ASSERT_NE(host_testing::make_rule_instance("root:", "SPARSE", kDesignClass, rules), 0u);

    HPD_apf_values_t v = patterned_record();
    ASSERT_EQ(HM_VD_HPD_ask_result("SPARSE", &v), 0);
    EXPECT_EQ(v.algorithm_version, 0);
    EXPECT_EQ(v.clear_interference, 0);
    EXPECT_EQ(v.vehicle_class, 0);
    EXPECT_EQ(v.male_female_ratio, 2);
    EXPECT_EQ(v.leg_length_type, 0);
    EXPECT_EQ(v.cushion_angle, 0.0);
    EXPECT_EQ(v.move_along_sgrp_curve, 0);
    EXPECT_EQ(v.use_variable, 1);
    EXPECT_EQ(v.variable_type, 0);
    EXPECT_EQ(v.reverse_option, 0) << "version 0: lock type 0 and no ALPHA";

    // The missing third heel is the absolute origin, mapped into the frame;
    // its pedal angle is 0.
    const double origin_in_frame[3] = {-200.0, 100.0, -300.0};
    expect_point(v.second_right_shoe.heel_point, origin_in_frame, kTol, "second right heel");
    EXPECT_EQ(v.second_right_shoe.pedal_angle, 0.0);
    // Its leg room: from the SgRP to the ankle at (-81, 107) from that heel.
    EXPECT_NEAR(v.second_right_shoe.leg_room,
                std::hypot(d.sgrp[0] - (-200.0 - 81.0), d.sgrp[2] - (-300.0 + 107.0)) + 254.0, 1e-6);
    ExpectNoLeaks();
}

TEST_F(RecordTest, VersionOneCombinesLockTypeAndAlpha) {
    const KnownDesign d(1.0);
    host_testing::RuleTexts rules = with_rule(d.rules(), "Algorithm_version", "1");
    rules = with_rule(rules, "rt_lock_type", "1");
    rules = with_rule(rules, "rt_use_ALPHA?", "TRUE");
    ASSERT_NE(host_testing::make_rule_instance("root:", "V1", kDesignClass, rules), 0u);
    HPD_apf_values_t v;
    std::memset(&v, 0, sizeof v);
    ASSERT_EQ(HM_VD_HPD_ask_result("V1", &v), 0);
    EXPECT_EQ(v.reverse_option, 3);
    ExpectNoLeaks();
}

// Failures leave the record as the caller had it.
TEST_F(RecordTest, MissingNullWrongClassAndFailedInstancesLeaveTheRecord) {
    const KnownDesign d(1.0);
    ASSERT_NE(host_testing::make_rule_instance("root:", "OTHER", "%kw_vd_eyellipse", d.rules()), 0u);
    ASSERT_NE(
        host_testing::make_rule_instance("root:", "FAILED", kDesignClass, with_rule(d.rules(), "rcode", "17")),
        0u);

    struct Case {
        const char* name;
        int expected;
    } cases[] = {{"NO_SUCH_DESIGN", -1}, {"OTHER", -1}, {"FAILED", 17}, {nullptr, -1}};
    for (const Case& c : cases) {
        HPD_apf_values_t v = patterned_record();
        const HPD_apf_values_t before = v;
        EXPECT_EQ(HM_VD_HPD_ask_result(c.name, &v), c.expected) << (c.name ? c.name : "(null)");
        EXPECT_TRUE(same_bytes(v, before)) << (c.name ? c.name : "(null)");
    }
    EXPECT_EQ(HM_VD_HPD_ask_result("FAILED", nullptr), -1);
    ExpectNoLeaks();
}

// A right heel behind or above the SgRP stops the reader with the posture
// code, before the second leg and the lock option are read.
TEST_F(RecordTest, RightLegPostureCodeStopsTheReader) {
    const KnownDesign d(1.0);
    struct Case {
        const char* name;
        double heel[3];
        int code;
    } cases[] = {
        {"BEHIND", {d.sgrp[0] + 10, d.sgrp[1], d.sgrp[2] - 300}, 24},
        {"ABOVE", {d.sgrp[0] - 300, d.sgrp[1], d.sgrp[2] + 10}, 25},
    };
    for (const Case& c : cases) {
        host_testing::RuleTexts rules = with_rule(
            d.rules(), "Result_AHPs",
            "{ " + point_text(c.heel) + ", " + point_text(d.left_heel) + ", " + point_text(d.second_heel) + " }");
        ASSERT_NE(host_testing::make_rule_instance("root:", c.name, kDesignClass, rules), 0u);
        HPD_apf_values_t v = patterned_record();
        const HPD_apf_values_t before = v;
        EXPECT_EQ(HM_VD_HPD_ask_result(c.name, &v), c.code) << c.name;
        EXPECT_EQ(std::memcmp(&v.second_right_shoe, &before.second_right_shoe, sizeof v.second_right_shoe), 0);
        EXPECT_EQ(std::memcmp(&v.right_shoe, &before.right_shoe, sizeof v.right_shoe), 0);
        EXPECT_EQ(v.reverse_option, before.reverse_option);
        EXPECT_NEAR(v.left_shoe.leg_room, 854.0, 1e-6) << "the left leg was read before the right one";
    }
    ExpectNoLeaks();
}

TEST_F(RecordTest, PrpFollowsThePlanViewAngle) {
    // Turned by 90 degrees the lateral offset runs along -L and the sole
    // along -W: PRP = AHP + (-offset, -200 cos A, 200 sin A).
    const KnownDesign d(1.0);
    host_testing::RuleTexts rules = with_rule(d.rules(), "pv_angle_internal", "90.0");
    ASSERT_NE(host_testing::make_rule_instance("root:", "TURNED", kDesignClass, rules), 0u);
    HPD_apf_values_t v;
    std::memset(&v, 0, sizeof v);
    HM_VD_HPD_ask_result("TURNED", &v);
    const double prp[3] = {d.ahp[0] - 25.0, d.ahp[1] - 200 * std::cos(kPi / 6), d.ahp[2] + 200 * std::sin(kPi / 6)};
    expect_point(v.prp, prp, 1e-6, "PRP");
    ExpectNoLeaks();
}

TEST_F(RecordTest, LockOptionPacksAndUnpacks) {
    struct Case {
        int lock;
        bool alpha;
        int option;
    } cases[] = {{0, false, 0}, {0, true, 0}, {1, false, 1}, {1, true, 3}, {2, false, 2}, {2, true, 4}, {7, true, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(HM_HPD_ask_combine_reverse_engineering_option(c.lock, c.alpha), c.option) << c.lock << c.alpha;

    struct Unpacked {
        int option;
        int lock;
        bool alpha;
    } unpacked[] = {{0, 0, false}, {1, 1, false}, {2, 2, false}, {3, 1, true}, {4, 2, true}, {-5, 2, true}};
    for (const Unpacked& u : unpacked) {
        int lock = -1;
        bool alpha = !u.alpha;
        HM_HPD_parse_reverse_option(u.option, &lock, &alpha);
        EXPECT_EQ(lock, u.lock) << u.option;
        EXPECT_EQ(alpha, u.alpha) << u.option;
    }
}


TEST_F(RecordTest, SgrpCurveDistanceIsMeasuredFromTheSgrp) {
    // The known design's SgRP (1000, -370, 600) in the frame is absolute
    // (100 + 370, 200 + 1000, 300 + 600) = (470, 1200, 900); the line runs
    // vertically through (600, 1230): distance hypot(130, 30).
    const tag_t curve = make_design_with_curve("CURVED", "%kw_line");
    ASSERT_NE(curve, 0u);
    tag_t found = 0;
    HM_VD_HPD_ask_sgrp_curve("CURVED", &found);
    EXPECT_EQ(found, curve);
    HPD_apf_values_t v;
    std::memset(&v, 0, sizeof v);
    ASSERT_EQ(HM_VD_HPD_ask_result("CURVED", &v), 0);
    EXPECT_NEAR(v.sgrp_curve_distance, std::hypot(130.0, 30.0), 1e-6);
    ExpectNoLeaks();
}

TEST_F(RecordTest, NullDesignOrUnknownNameGivesNoCurve) {
    ASSERT_NE(make_design_with_curve("NULLED", "NullDesign"), 0u);
    tag_t found = 99;
    HM_VD_HPD_ask_sgrp_curve("NULLED", &found);
    EXPECT_EQ(found, 0u);
    found = 99;
    HM_VD_HPD_ask_sgrp_curve("NOT_A_RULE", &found);
    EXPECT_EQ(found, 0u);
    HPD_apf_values_t v;
    std::memset(&v, 0x41, sizeof v);
    ASSERT_EQ(HM_VD_HPD_ask_result("NULLED", &v), 0);
    EXPECT_EQ(v.sgrp_curve_distance, 0.0);
    ExpectNoLeaks();
}

TEST_F(RecordTest, LongInstanceNameFindsItsOwnCurve) {
    // A name longer than any fixed path buffer; a cut path would name some
    // other rule, or none.
    const std::string name = "DRIVER_" + std::string(160, 'X');
    const tag_t curve = make_design_with_curve(name, "%kw_line");
    ASSERT_NE(curve, 0u);
    tag_t found = 0;
    HM_VD_HPD_ask_sgrp_curve(name.c_str(), &found);
    EXPECT_EQ(found, curve);
    ExpectNoLeaks();
}

TEST_F(RecordTest, AssociatedSheetNamesAreReadForImportAndExport) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "SHEETS", kDesignClass,
                                               {{"ExportAssociatedSheetName", "\"out.csv\""},
                                                {"ImportAssociatedSheetName", "\"in.csv\""}}),
              0u);
    char* out = AskAssociatedSheetName("SHEETS", 0);
    char* in = AskAssociatedSheetName("SHEETS", 1);
    ASSERT_NE(out, nullptr);
    ASSERT_NE(in, nullptr);
    EXPECT_STREQ(out, "out.csv");
    EXPECT_STREQ(in, "in.csv");
    SM_free(out);
    SM_free(in);
    EXPECT_EQ(AskAssociatedSheetName("NO_SUCH_DESIGN", 0), nullptr);
    ExpectNoLeaks();
}

}  // namespace
