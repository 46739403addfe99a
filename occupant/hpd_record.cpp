// The H-point design record: reading one design instance of the work part
// back into HPD_apf_values_s, the posture of each leg, the SgRP curve of the
// design, the reverse-engineering lock option and the associated
// spreadsheets.
#include "hpd.h"
#include "hpd_constants.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/rule_path.h"

#include "belmorra.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <cmath>
#include <cstring>

using namespace carvell::occupant;
namespace detail = carvell::detail;

namespace {

const char* const kDesignToolClass = "%kw_vd_H_point_design_tool";
const char* const kOccupantPackagingClass = "%kw_vd_occupant_packaging";

using detail::InstanceReader;
using detail::RulePath;

// The reference frame of the design: absolute points are mapped into it.
struct ReferenceFrame {
    double origin[3];
    double matrix[9];
    void map(const double absolute[3], double out[3]) const {
        VD_map_point_abs2csys(absolute, origin, matrix, out);
    }
};

// One leg of the instance: member `member` of the heel points
// ("Result_AHPs"), mapped into the frame, and of the pedal angles ("A47s").
void read_leg(const InstanceReader& read, const ReferenceFrame& frame, int member, double heel[3],
              double* pedal_angle) {
    double absolute[3];
    read.point_member("Result_AHPs", member, absolute);
    frame.map(absolute, heel);
    *pedal_angle = read.number_member("A47s", member);
}

}  // namespace

int HM_HPD_ask_combine_reverse_engineering_option(int lock_type, bool use_alpha) {
    if (lock_type == 0) return 0;
    if (lock_type == 1) return use_alpha ? 3 : 1;
    return use_alpha ? 4 : 2;
}

void HM_HPD_parse_reverse_option(int option, int* lock_type, bool* use_alpha) {
    int lock = 2;
    bool alpha = true;
    switch (option) {
        case 0: lock = 0; alpha = false; break;
        case 1: lock = 1; alpha = false; break;
        case 2: lock = 2; alpha = false; break;
        case 3: lock = 1; alpha = true; break;
        default: break;
    }
    if (lock_type) *lock_type = lock;
    if (use_alpha) *use_alpha = alpha;
}

int HM_VD_HPD_AskAnglesRoom(double sgrp[3], double pv_angle, double back_angle, double leg_lengths[2],
                            double heel[3], double pedal_angle, bool room_only, HPD_apf_shoe_values_t* shoe) {
    if (!sgrp || !leg_lengths || !heel || !shoe) return -1;
    double heel_point[3] = {heel[0], heel[1], heel[2]};
    double sgrp_point[3] = {sgrp[0], sgrp[1], sgrp[2]};

    // The heel in the occupant's own plan-view frame, turned about the SgRP.
    double turned[3];
    HPD_transform_point_to_pv(heel_point, sgrp_point, -pv_angle, turned);
    const double dx = sgrp_point[0] - turned[0];
    const double dz = sgrp_point[2] - turned[2];

    double side_sgrp[2] = {sgrp_point[0], sgrp_point[2]};
    double legs[2] = {leg_lengths[0], leg_lengths[1]};
    double result[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
    const int code =
        HM_VD_HPD_ask_leg_angles_legroom(side_sgrp, dx, dz, pedal_angle, legs, back_angle, room_only, result);
    if (code != 0) return code;

    shoe->ankle_angle = result[0];
    shoe->thigh_angle = result[1];
    shoe->knee_angle = result[2];
    shoe->hip_angle = result[3];
    shoe->leg_room = result[4];
    shoe->pedal_angle = pedal_angle;
    std::memcpy(shoe->heel_point, heel_point, sizeof heel_point);
    return 0;
}

void HM_VD_HPD_ask_sgrp_curve(const char* name, tag_t* curve) {
    if (!curve) return;
    *curve = 0;
    if (!name || !VD_RQ_ask_rule_exist("Root:", name)) return;

    // Built to the name's length: a long name must not cut the path and so
    // query some other rule.
    const RulePath path = RulePath::joined({"Root:", name, ":Hpd_geometry:Sgrp_Curve:"});
    if (!path.path()) return;
    detail::SmBlock<char> class_name;
    if (HM_RQ_ask_instance_class(path.path(), class_name.out()) == 0 && class_name &&
        std::strcmp(class_name.get(), "NullDesign") != 0) {
        tag_t object = 0;
        if (VD_RQ_ask_object(path.text(), &object) == 0) *curve = object;
    }
}

char* AskAssociatedSheetName(const char* name, int import) {
    if (!name) return nullptr;
    const RulePath instance("root:", name);
    if (!instance.path()) return nullptr;
    return InstanceReader(instance.path()).string(import ? "ImportAssociatedSheetName" : "ExportAssociatedSheetName");
}

int HM_VD_HPD_ask_result(const char* name, HPD_apf_values_t* values) {
    if (!name || !values) return -1;
    if (!VD_is_instance_of_class("root:", name, kDesignToolClass) &&
        !VD_is_instance_of_class("root:", name, kOccupantPackagingClass))
        return -1;

    const RulePath instance("root:", name);
    if (!instance.path()) return -1;
    const InstanceReader read(instance.path());
    HPD_apf_values_t& v = *values;

    const int rcode = read.integer("rcode");
    if (rcode != 0) return rcode;

    v.algorithm_version = read.integer("Algorithm_version");
    v.part_unit = PART_ask_units(CONTEXT_ask_work_part()) == 0 ? 0 : 1;

    ReferenceFrame frame;
    read.frame("referenceFrame", frame.origin, frame.matrix);

    v.pv_angle = read.number("pv_angle_internal");
    v.clear_interference = read.boolean("rt_clear_interference?") ? 1 : 0;
    v.lateral_offset = read.number("rt_lateral_offset_internal");
    v.seating_position = read.integer("seating_position");
    v.vehicle_class = read.integer("vehicle_class");
    v.male_female_ratio = read.integer("Male_Female_Ratio");
    v.leg_length_type = read.integer("UI_leg_length_type");
    v.upper_leg_length = read.number("upper_leg_length_internal");
    v.lower_leg_length = read.number("lower_leg_length_internal");
    double legs[2] = {v.upper_leg_length, v.lower_leg_length};
    v.back_angle = read.number("target_back_angle_internal");
    v.cushion_angle = read.number("target_cushion_angle_internal");
    v.lumbar_support = read.number("target_lumbar_support_internal");
    v.position_left_shoe = read.boolean("position_left_shoe?");
    v.move_along_sgrp_curve = read.boolean("UI_move_along_SgRP_curve?") ? 1 : 0;
    v.copy_right_shoe_orientation = read.integer("is_copy_right_shoe_orientation");
    v.use_variable = read.integer("use_variable_toggle");
    v.variable_type = read.integer("variable_type");
    v.adjust_variable = read.number("adjust_variable");

    double sgrp_absolute[3];
    read.point("UpdateSgrpPt", sgrp_absolute);
    frame.map(sgrp_absolute, v.sgrp);

    v.occ_position_method = read.integer("occ_position_method");

    // Right leg: its heel, the pedal angle and the accelerator heel point.
    double right_heel[3], right_pedal_angle = 0.0;
    read_leg(read, frame, 1, right_heel, &right_pedal_angle);
    double absolute[3], ahp[3];
    read.point_member("AHPs", 1, absolute);
    frame.map(absolute, ahp);
    v.seat_height = v.sgrp[2] - right_heel[2];

    // The PRP lies across the plan-view direction by the lateral offset.
    const double pv = v.pv_angle * kRadiansPerDegreeAsUsed;
    ahp[0] -= std::sin(pv) * v.lateral_offset;
    ahp[1] += std::cos(pv) * v.lateral_offset;
    HM_VD_HPD_ask_prp_by_ahp_no_offset(ahp, right_pedal_angle, v.pv_angle, v.prp);

    // Left leg; a failure leaves its record as the caller had it.
    double left_heel[3], left_pedal_angle = 0.0;
    read_leg(read, frame, 2, left_heel, &left_pedal_angle);
    if (v.position_left_shoe)
        HM_VD_HPD_AskAnglesRoom(v.sgrp, v.pv_angle, v.back_angle, legs, left_heel, left_pedal_angle, false,
                                &v.left_shoe);

    v.sgrp_curve_distance = 0.0;
    tag_t curve = 0;
    HM_VD_HPD_ask_sgrp_curve(name, &curve);
    if (curve) {
        double distance = 0.0;
        double on_curve[3];
        double on_point[3];
        if (HM_MODL_ask_minimum_dist(curve, 0, 0, nullptr, 1, sgrp_absolute, &distance, on_curve, on_point) == 0)
            v.sgrp_curve_distance = distance;
    }

    const int code = HM_VD_HPD_AskAnglesRoom(v.sgrp, v.pv_angle, v.back_angle, legs, right_heel, right_pedal_angle,
                                             false, &v.right_shoe);
    if (code != 0) return code;

    v.add_2nd_right_leg = read.boolean("add_2nd_right_leg?");
    if (v.algorithm_version > 1) {
        v.reverse_option = read.integer("rt_lock_type");
    } else {
        const int lock_type = read.integer("rt_lock_type");
        const bool use_alpha = read.boolean("rt_use_ALPHA?");
        v.reverse_option = HM_HPD_ask_combine_reverse_engineering_option(lock_type, use_alpha);
    }

    if (v.add_2nd_right_leg) {
        double second_heel[3], second_pedal_angle = 0.0;
        read_leg(read, frame, 3, second_heel, &second_pedal_angle);
        HM_VD_HPD_AskAnglesRoom(v.sgrp, v.pv_angle, v.back_angle, legs, second_heel, second_pedal_angle, true,
                                &v.second_right_shoe);
    }
    return 0;
}
