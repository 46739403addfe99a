// The five-link-axle template's name tables, as the host reads them, and
// the joints its recognition expects.
#include "fla_tables.h"

#include "omvra.h"

namespace carvell::suspension {

const char* const kFlaNames[FLA_SUSP_NAME_SLOTS] = {
    // 0-9: hard points
    "FLA_SUSP_LCA_FRONT_BUSHING", "FLA_SUSP_LCA_REAR_BUSHING", "FLA_SUSP_UCA_FRONT_BUSHING",
    "FLA_SUSP_UCA_REAR_BUSHING", "FLA_SUSP_LOWER_SHK_CENTER", "FLA_SUSP_UPPER_SHK_CENTER",
    "FLA_SUSP_LOWER_BMP_CENTER", "FLA_SUSP_UPPER_BMP_CENTER", "FLA_SUSP_WHEEL_CENTER", "FLA_SUSP_TRACK_INNER",
    // 10-19
    "", "", "", "", "", "", "", "", "", "",
    // 20-29: lines
    "FLA_SUSP_LCA", "FLA_SUSP_AXLE_1", "FLA_SUSP_AXLE_2", "FLA_SUSP_UCA_CENTER", "FLA_SUSP_UCA",
    "FLA_SUSP_LOWER_SHK", "FLA_SUSP_UPPER_SHK", "FLA_SUSP_TRACK", "FLA_SUSP_LOWER_BMP", "FLA_SUSP_UPPER_BMP",
    // 30-45: mirror points and mirror lines
    "FLA_SUSP_LCA_FRONT_BUSHING_MIRROR", "FLA_SUSP_LCA_REAR_BUSHING_MIRROR", "FLA_SUSP_UCA_FRONT_BUSHING_MIRROR",
    "FLA_SUSP_UCA_REAR_BUSHING_MIRROR", "FLA_SUSP_LOWER_SHK_CENTER_MIRROR", "FLA_SUSP_UPPER_SHK_CENTER_MIRROR",
    "FLA_SUSP_LOWER_BMP_CENTER_MIRROR", "FLA_SUSP_UPPER_BMP_CENTER_MIRROR", "FLA_SUSP_WHEEL_CENTER_MIRROR",
    "FLA_SUSP_OPPOSITE_TRACK_INNER", "FLA_SUSP_LCA_MIRROR", "FLA_SUSP_UCA_MIRROR", "FLA_SUSP_LOWER_SHK_MIRROR",
    "FLA_SUSP_UPPER_SHK_MIRROR", "FLA_SUSP_LOWER_BMP_MIRROR", "FLA_SUSP_UPPER_BMP_MIRROR",
    // 46-49
    "", "", "", "",
    // 50-59: links of the left side and the shared ones
    "LCA_L", "axle", "UCA_C", "UCA_L", "shock_L_L", "shock_U_L", "track", "JbmpL_L", "JbmpU_L", "",
    // 60-69: links of the right side
    "LCA_R", "UCA_R", "shock_L_R", "shock_U_R", "Jbmp_L_R", "Jbmp_U_R", "", "", "", "",
    // 70-89: joints of the left side and the shared ones
    "J002", "J003", "J009", "J010", "J025", "J032", "J033", "L_SHOCK", "J030", "J031", "L_BUMPER", "J014",
    "", "", "", "", "", "", "", "",
    // 90-100: joints of the right side
    "J023", "J024", "J011", "J012", "J022", "J020", "R_SHOCK", "J028", "J029", "R_BUMPER", "J015"};

const char* const kFlaLinkNames[FLA_SUSP_LINK_COUNT] = {
    "LCA_L", "axle", "UCA_C", "UCA_L", "shock_L_L", "shock_U_L", "track", "JbmpL_L", "JbmpU_L",
    "LCA_R", "UCA_R", "shock_L_R", "shock_U_R", "Jbmp_L_R", "Jbmp_U_R"};

const char* const kFlaJointNames[FLA_SUSP_JOINT_COUNT] = {
    "J002", "J003", "J009", "J010", "J025", "J032", "J033", "L_SHOCK", "J030", "J031", "L_BUMPER", "J014",
    "J023", "J024", "J011", "J012", "J022", "J020", "R_SHOCK", "J028", "J029", "R_BUMPER", "J015"};

const char* fla_point_name(int point) {
    const int pair = point / 2;
    return kFlaNames[(point % 2 == 0 ? kFlaPointNameSlot : kFlaMirrorNameSlot) + pair];
}

const FlaExpectedJoint kFlaExpectedJoints[FLA_SUSP_JOINT_COUNT] = {
    {HM_MOTION_UNIVERSAL, {"LCA_L", "GROUND"}},
    {HM_MOTION_SPHERICAL, {"LCA_L", "axle"}},
    {HM_MOTION_UNIVERSAL, {"UCA_L", "GROUND"}},
    {HM_MOTION_SPHERICAL, {"UCA_L", "UCA_C"}},
    {HM_MOTION_REVOLUTE, {"UCA_C", "axle"}},
    {HM_MOTION_SPHERICAL, {"shock_L_L", "axle"}},
    {HM_MOTION_UNIVERSAL, {"shock_U_L", "GROUND"}},
    {HM_MOTION_CYLINDRICAL, {"shock_L_L", "shock_U_L"}},
    {HM_MOTION_SPHERICAL, {"JbmpL_L", "axle"}},
    {HM_MOTION_UNIVERSAL, {"JbmpU_L", "GROUND"}},
    {HM_MOTION_CYLINDRICAL, {"JbmpL_L", "JbmpU_L"}},
    {HM_MOTION_SPHERICAL, {"track", "axle"}},
    {HM_MOTION_UNIVERSAL, {"LCA_R", "GROUND"}},
    {HM_MOTION_SPHERICAL, {"LCA_R", "axle"}},
    {HM_MOTION_UNIVERSAL, {"UCA_R", "GROUND"}},
    {HM_MOTION_SPHERICAL, {"UCA_R", "UCA_C"}},
    {HM_MOTION_SPHERICAL, {"shock_L_R", "axle"}},
    {HM_MOTION_UNIVERSAL, {"shock_U_R", "GROUND"}},
    {HM_MOTION_CYLINDRICAL, {"shock_L_R", "shock_U_R"}},
    {HM_MOTION_SPHERICAL, {"Jbmp_L_R", "axle"}},
    {HM_MOTION_UNIVERSAL, {"Jbmp_U_R", "GROUND"}},
    {HM_MOTION_CYLINDRICAL, {"Jbmp_L_R", "Jbmp_U_R"}},
    {HM_MOTION_UNIVERSAL, {"track", "GROUND"}}};

}  // namespace carvell::suspension
