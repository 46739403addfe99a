// The MacPherson template's name table, as the host reads it: every name the
// template builds, looks up or deletes. Its spellings and repeats are the
// names parts already carry, kept as they stand; slots 20, 35, 42, 80, 95
// and 102 are deleted by name but never built.
#include "mac_template.h"
#include "template_common.h"

namespace sus = carvell::suspension;

namespace carvell::suspension {

const char* const kMacNames[MAC_SUSP_NAME_SLOTS] = {
    // 0-12: hard points
    "MAC_SUSP_BOTTOM_OF_STRUT", "MAC_SUSP_BALL_JOINT", "MAC_SUSP_OUTER_DRIVE_JOINT", "MAC_SUSP_INNER_DRIVE_JOINT",
    "MAC_SUSP_WHEEL_CENTERLINE", "MAC_SUSP_TIREROD_OUTER", "MAC_SUSP_TIREROD_INNER", "MAC_SUSP_STRUT_CENTER",
    "MAC_SUSP_BUSHING_FRONT", "MAC_SUSP_BUSHING_REAR", "MAC_SUSP_UPPER_STABILIZER_LINK",
    "MAC_SUSP_LOWER_STABILIZER_LINK", "MAC_SUSP_STABILIZER_BUSHING",
    // 13-19
    "", "", "", "", "", "", "",
    // 20
    "MAC_SUSP_UPPER_OF_STRUT",
    // 21-29
    "", "", "", "", "", "", "", "", "",
    // 30-44: lines
    "MAC_SUSP_STRUT_UPPER", "MAC_SUSP_KNUCK_1", "MAC_SUSP_KNUCK_2", "MAC_SUSP_KNUCK_3", "MAC_SUSP_KNUCK_4",
    "MAC_SUSP_KNUCK_5", "MAC_SUSP_LCA_1", "MAC_SUSP_LCA_2", "MAC_SUSP_LCA_3", "MAC_SUSP_TIREROD", "MAC_SUSP_HSHAFT",
    "MAC_SUSP_STABLINK", "MAC_SUSP_STAB", "MAC_SUSP_ENGOUT", "MAC_SUSP_RACK",
    // 45-59
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 60-72: mirror points
    "MAC_SUSP_BOTTOM_OF_STRUT_MIRROR", "MAC_SUSP_BALL_JOINT_MIRROR", "MAC_SUSP_OUTER_DRIVE_JOINT_MIRROR",
    "MAC_SUSP_OPPOSITE_INNER_JOINT", "MAC_SUSP_WHEEL_CENTERLINE_MIRROR", "MAC_SUSP_TIREROD_OUTER_MIRROR",
    "MAC_SUSP_TIREROD_INNER_MIRROR", "MAC_SUSP_STRUT_CENTER_MIRROR", "MAC_SUSP_BUSHING_FRONT_MIRROR",
    "MAC_SUSP_BUSHING_REAR_MIRROR", "MAC_SUSP_UPPER_STABILIZER_LINK_MIRROR", "MAC_SUSP_LOWER_STABILIZER_LINK_MIRROR",
    "MAC_SUSP_OPPOSITE_BUSHING",
    // 73-79
    "", "", "", "", "", "", "",
    // 80
    "MAC_SUSP_UPPER_OF_STRUT_MIRROR",
    // 81-89
    "", "", "", "", "", "", "", "", "",
    // 90-103: mirror lines
    "MAC_SUSP_STRUT_UPPER_MIRROR", "MAC_SUSP_KNUCK_1_MIRROR", "MAC_SUSP_KNUCK_2_MIRROR", "MAC_SUSP_KNUCK_3_MIRROR",
    "MAC_SUSP_KNUCK_4_MIRROR", "MAC_SUSP_KNUCK_5_MIRROR", "MAC_SUSP_LCA_1_MIRROR", "MAC_SUSP_LCA_2_MIRROR",
    "MAC_SUSP_LCA_3_MIRROR", "MAC_SUSP_TIREROD_MIRROR", "MAC_SUSP_HSHAFT_MIRROR", "MAC_SUSP_STABLINK_MIRROR",
    "MAC_SUSP_STAB_MIRROR", "MAC_SUSP_ENGOUT_MIRROR",
    // 104-119
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    // 120-128: links of the first side and the shared ones
    "STRUTUPPER", "KNUCK", "LCA", "TIREROD", "HSHAFT", "STABLINK", "STAB", "ENGOUT", "RACK",
    // 129-139
    "", "", "", "", "", "", "", "", "", "", "",
    // 140-147: links of the mirrored side
    "STRUTUPPER_M", "KNUCK_M", "LCA_M", "TIREROD_M", "HSHAFT_M", "STABLINK_M", "STAB_M", "ENGOUT_M",
    // 148-159
    "", "", "", "", "", "", "", "", "", "", "", "",
    // 160-172: joints of the first side and the shared ones
    "J_STRUTUPPER", "J_STRUTCENTER", "J_OUTERDRIVE", "J_INNERDRIVE", "J_TIREROD_OUTER", "J_TIREROD_INNER", "J_BALL",
    "J_BUSHING", "J_ENGOUT", "J_RACK", "J_LOWER_STAB", "J_UPPER_STAB", "J_STAB_BUSHING",
    // 173-179
    "", "", "", "", "", "", "",
    // 180-192: joints of the mirrored side (189 empty)
    "J_STRUTUPPER_M", "J_STRUTCENTER_M", "J_OUTERDRIVE_M", "J_INNERDRIVE_M", "J_TIREROD_OUTER_M",
    "J_TIREROD_INNER_M", "J_BALL_M", "J_BUSHING_M", "J_ENGOUT_M", "", "J_LOWER_STAB_M", "J_UPPER_STAB_M",
    "J_STAB_BUSHING_M",
    // 193-199
    "", "", "", "", "", "", ""};

const char* mac_point_name(int point) {
    // Slot of each hard point of the record (mac_susp_point order).
    static const int kSlots[MAC_SUSP_POINT_COUNT] = {0,  60, 1,  61, 2,  62, 3,  4,  64, 5,  65, 6,  66,
                                                     7,  67, 8,  68, 9,  69, 10, 70, 11, 71, 12, 63, 72};
    return point >= 0 && point < MAC_SUSP_POINT_COUNT ? kMacNames[kSlots[point]] : "";
}

}  // namespace carvell::suspension

int HM_VD_MAC_SUSP_ask_num_of_names() { return MAC_SUSP_NAME_SLOTS; }

void HM_VD_MAC_SUSP_ask_nth_name(int n, char* name) {
    sus::copy_table_name(sus::table_slot(sus::kMacNames, MAC_SUSP_NAME_SLOTS, n), name, MAC_SUSP_NAME_SIZE);
}
