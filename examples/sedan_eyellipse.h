// The driver's eyellipse of the mirror sedan as the host's eyellipse dialog
// makes it: an instance of the eyellipse class from its design parameters,
// which works out the SAE J941 class A ellipsoid itself.
//
// The driver: SgRP (1250, -370, 520), accelerator heel point at x 400 and
// z 250 (H30 seat height 270, L53 850), pedal reference point at x 297 (SAE
// J4004 X95), 641 from it to the steering-wheel centre (L6), automatic,
// 95th percentile. The class gives the eye centroids (1290, -370 -/+ 32.5,
// 1158) and axes 206.4 x 60.3 x 93.4 mm, the x axis tipped 12 degrees.
#ifndef CARVELL_EXAMPLES_SEDAN_EYELLIPSE_H
#define CARVELL_EXAMPLES_SEDAN_EYELLIPSE_H

#include "omvra.h"
#include "tessik.h"

#include <cstdio>

namespace sedan_eyellipse {

// The instance "root:<name>:" of the work part: 0, or the host's code.
inline int make(const char* name) {
    char quoted[64];
    std::snprintf(quoted, sizeof quoted, "\"%s\"", name);
    const char* const names[] = {
        "Name",          "Standard",          "Unit",         "Vehicle_Class",  "Population_Percentile",
        "Male_Female_Ratio", "Back_Angle",    "Seat_Track_Travel", "Hip_Point_X", "Hip_Point_Y",
        "Hip_Point_Z",   "Heel_Point_X",      "Heel_Point_Z", "Left_Side",      "Seat_Position",
        "PRP_X",         "Chair_Height",      "PRP_SWC_Length", "Transmission_Type", "Use_Lean",
        "Shoulder_Room", "Steering_Center_Y", "Use_Head_Movement", "Head_Movement_Dir", "Angle",
        "Distance",      "entity_visible",    "entity_color", "entity_layer"};
    const char* const values[] = {
        quoted,   "0",        "1",         "0",        "95",
        "50",     "25.000000", "240",      "1250.000000", "-370.000000",
        "520.000000", "400.000000", "250.000000", "True", "0",
        "297.000000", "270.000000", "641.000000", "0",   "False",
        "1400.000000", "-370.000000", "False", "0",      "0.000000",
        "0.000000",
        "{True,True,True,False,False,False,False,False,False,False,False,False,False,False}",
        "{2,2,2,2,2,2,2,2,2,2,2,2,2,2}",
        "{1,1,1,1,1,1,1,1,1,1,1,1,1,1}"};
    static_assert(sizeof names / sizeof names[0] == sizeof values / sizeof values[0], "a value per parameter");
    return HM_RQ_create_child_rule(HM_ASSEM_ask_work_part(), "Root:", name, VD_EYELLIPSE_CLASS,
                                   static_cast<int>(sizeof names / sizeof names[0]), names, values);
}

}  // namespace sedan_eyellipse

#endif
