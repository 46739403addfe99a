// The short-long-arm template's name table, as the host reads it. Its
// misspellings and repeated names are the system's own: the host lists and
// deletes by these names. The names from slot 140 on are listed and deleted
// but never built, the mechanism having one side only.
#include "sla_tables.h"

namespace carvell::suspension {

const char* const kSlaNames[SLA_SUSP_NAME_SLOTS] = {
    // 0-15: hard points
    "SLA_SUSP_BALL_JOINT_LOWER", "SLA_SUSP_FRONT_BUSHING_LOWER", "SLA_SUSP_REAR_BUSHING_LOWER",
    "SLA_SUSP_BALL_JOINT_UPPER", "SLA_SUSP_FRONT_BUSHING_UPPER", "SLA_SUSP_REAR_BUSHING_UPPER",
    "SLA_SUSP_LOWER_SHOCK_CENTER", "SLA_SUSP_UPPER_SHOCK_CENTER", "SLA_SUSP_WHEEL_CENTERLINE",
    "SLA_SUSP_OUTER_DRIVE_JOINT", "SLA_SUSP_TIREROD_OUTER", "SLA_SUSP_TIREROD_INNER", "SLA_SUSP_INNER_DRIVE_JOINT",
    "SLA_SUSP_UPPER_STABILIZER_LINK", "SLA_SUSP_LOWER_STABILIZER_LINK", "SLA_SUSP_STABILIZER_BUSHING",
    // 16-29: the jack point at 20
    "", "", "", "", "SLA_SUSP_JAC_POINT", "", "", "", "", "", "", "", "", "",
    // 30-48: lines
    "SLA_SUSP_JAC_LOWER", "SLA_SUSP_JAC_UPPER", "SLA_SUSP_KNUCK_1", "SLA_SUSP_KNUCK_2", "SLA_SUSP_KNUCK_3",
    "SLA_SUSP_UPP_CTRL_1", "SLA_SUSP_UPP_CTRL_2", "SLA_SUSP_UPP_CTRL_3", "SLA_SUSP_LWR_CTRL_1",
    "SLA_SUSP_LWR_CTRL_2", "SLA_SUSP_LWR_CTRL_3", "SLA_SUSP_UP_SHK", "SLA_SUSP_LOW_SHK", "SLA_SUSP_OUT",
    "SLA_SUSP_OUT_STR", "SLA_SUSP_TRANS", "SLA_SUSP_STEER", "SLA_SUSP_STABLINK", "SLA_SUSP_STAB",
    // 49-59
    "", "", "", "", "", "", "", "", "", "", "",
    // 60-75: mirror points
    "SLA_SUSP_BALL_JOINT_LOWER_MIRROR", "SLA_SUSP_FRONT_BUSHING_LOWER_MIRROR", "SLA_SUSP_REAR_BUSHING_LOWER_MIRROR",
    "SLA_SUSP_BALL_JOINT_UPPER_MIRROR", "SLA_SUSP_FRONT_BUSHING_UPPER_MIRROR", "SLA_SUSP_REAR_BUSHING_UPPER_MIRROR",
    "SLA_SUSP_LOWER_SHOCK_CENTER_MIRROR", "SLA_SUSP_UPPER_SHOCK_CENTER_MIRROR", "SLA_SUSP_WHEEL_CENTERLINE_MIRROR",
    "SLA_SUSP_OUTER_DRIVE_JOINT_MIRROR", "SLA_SUSP_TIREROD_OUTER_MIRROR", "SLA_SUSP_TIREROD_INNER_MIRROR",
    "SLA_SUSP_OPPOSITE_INNER_JOINT", "SLA_SUSP_UPPER_STABILIZER_LINK_MIRROR",
    "SLA_SUSP_LOWER_STABILIZER_LINK_MIRROR", "SLA_SUSP_STABILIZER_BUSHING_MIRROR",
    // 76-89: the jack point's mirror at 80
    "", "", "", "", "SLA_SUSP_JAC_POINT_MIRROR", "", "", "", "", "", "", "", "", "",
    // 90-108: mirror lines (no mirror of the steering line; the stabilizer
    // line's mirror slot repeats its name)
    "SLA_SUSP_JAC_LOWER_MIRROR", "SLA_SUSP_JAC_UPPER_MIRROR", "SLA_SUSP_KNUCK_1_MIRROR", "SLA_SUSP_KNUCK_2_MIRROR",
    "SLA_SUSP_KNUCK_3_MIRROR", "SLA_SUSP_UPP_CTRL_1_MIRROR", "SLA_SUSP_UPP_CTRL_2_MIRROR",
    "SLA_SUSP_UPP_CTRL_3_MIRROR", "SLA_SUSP_LWR_CTRL_1_MIRROR", "SLA_SUSP_LWR_CTRL_2_MIRROR",
    "SLA_SUSP_LWR_CTRL_3_MIRROR", "SLA_SUSP_UP_SHK_MIRROR", "SLA_SUSP_LOW_SHK_MIRROR", "SLA_SUSP_OUT_MIRROR",
    "SLA_SUSP_OUT_STR_MIRROR", "SLA_SUSP_TRANS_MIRROR", "", "SLA_SUSP_STABLINK_MIRROR", "SLA_SUSP_STAB",
    // 109-119
    "", "", "", "", "", "", "", "", "", "", "",
    // 120-132: links
    "LOW_JAC", "UP_JAC", "KNUCK", "UPP_CNTRL", "LWR_CNTRL", "UP_SHK", "LOW_SHK", "OUT", "OUT_STR", "TRANS",
    "STEER", "STABLINK", "STAB",
    // 133-139
    "", "", "", "", "", "", "",
    // 140-152: links of the other side (the last two repeat this side's)
    "LOW_JAC_M", "UP_JAC_M", "KNUCK_M", "UPP_CNTRL_M", "LWR_CNTRL_M", "UP_SHK_M", "LOW_SHK_M", "OUT_M",
    "OUT_STR_M", "TRANS_M", "STEER_M", "STABLINK", "STAB",
    // 153-159
    "", "", "", "", "", "", "",
    // 160-178: joints
    "J_LOW_JAC", "J_JAC_CENTER", "J_WHEEL_CENTER", "J_OUTER_DRIVE", "J_BALL_UPPER", "J_BUSHING_UPPER",
    "J_BALL_LOWER", "J_BUSHING_LOWER", "J_TIREROD_OUTER", "J_TIREROD_INNER", "J_INNER_DRIVE", "J_UP_SHK",
    "J_LWR_SHK", "J_SHK_CENTER", "J_TRANS", "J_STEER", "J_LOWER_STAB", "J_UPPER_STAB", "J_STAB_BUSHING",
    // 179
    "",
    // 180-197: joints of the other side, as the system lists them
    "J_LOW_JAC_M", "J_JAC_CENTER_M", "J_WHEEL_CENTER_M", "J_OUTER_DRIVEJ_BALL_UPPER_M", "J_BUSHING_UPPER_M",
    "J_BALL_LOWER_M", "J_BUSHING_LOWER_M", "J_TIREROD_OUTER_M", "J_TIREROD_INNER_M", "J_INNER_DRIVE",
    "J_UP_SHK_M", "J_LWR_SHK_M", "J_SHK_CENTER_M", "J_TRANS_M", "", "J_LOWER_STAB", "J_UPPER_STAB",
    "J_STAB_BUSHING",
    // 198
    ""};

}  // namespace carvell::suspension
