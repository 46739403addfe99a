// Five-link-axle suspension template: named hard points with their mirror
// images, lines, and a motion mechanism of 15 links and 23 joints whose two
// shock joints are the articulation drivers; and the recognition of such a
// mechanism.
//
// Conventions. The caller owns the record: HM_VD_FLA_SUSP_initial prepares
// it, the caller fills the hard points (and, as it wishes, mirror points and
// the two flags), then builds the structure and the motion;
// HM_VD_FLA_SUSP_delete_structure deletes by name what the template built.
// Hard points are absolute coordinates of the work part, in its units. The
// mirror plane is the vehicle coordinate system's XZ plane (its origin and
// Y axis). Every name comes from the template's tables. Build structure,
// build motion and delete structure open a host-API session of their own;
// initial and the recognition need the caller's; the name enquiries need
// none. The link and joint tables handed back are the template's own:
// neither change nor free them. Codes: 0 success, the host's code of a
// refused call, -1 as each contract says.
#ifndef CARVELL_HM_VD_FLA_SUSP_H
#define CARVELL_HM_VD_FLA_SUSP_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

#define FLA_SUSP_NAME_SLOTS 101   /* slots of the flat name table */
#define FLA_SUSP_NAME_SIZE 34     /* longest name (33) and its terminator */
#define FLA_SUSP_LINK_COUNT 15
#define FLA_SUSP_JOINT_COUNT 23
#define FLA_SUSP_POINT_COUNT 20

/* Hard points of the record, in (point, mirror) pairs, then the two track points. */
enum fla_susp_point {
    FLA_LCA_FRONT_BUSHING = 0,
    FLA_LCA_FRONT_BUSHING_MIRROR,
    FLA_LCA_REAR_BUSHING,
    FLA_LCA_REAR_BUSHING_MIRROR,
    FLA_UCA_FRONT_BUSHING,
    FLA_UCA_FRONT_BUSHING_MIRROR,
    FLA_UCA_REAR_BUSHING,
    FLA_UCA_REAR_BUSHING_MIRROR,
    FLA_LOWER_SHOCK_CENTER,
    FLA_LOWER_SHOCK_CENTER_MIRROR,
    FLA_UPPER_SHOCK_CENTER,
    FLA_UPPER_SHOCK_CENTER_MIRROR,
    FLA_LOWER_BUMP_CENTER,
    FLA_LOWER_BUMP_CENTER_MIRROR,
    FLA_UPPER_BUMP_CENTER,
    FLA_UPPER_BUMP_CENTER_MIRROR,
    FLA_WHEEL_CENTER,
    FLA_WHEEL_CENTER_MIRROR,
    FLA_TRACK_INNER,
    FLA_OPPOSITE_TRACK_INNER
};

/* Links of the record's links array (not the order of the link table). */
enum fla_susp_link {
    FLA_LINK_LCA_L = 0, FLA_LINK_LCA_R, FLA_LINK_AXLE, FLA_LINK_UCA_C, FLA_LINK_UCA_L, FLA_LINK_UCA_R,
    FLA_LINK_SHOCK_L_L, FLA_LINK_SHOCK_L_R, FLA_LINK_SHOCK_U_L, FLA_LINK_SHOCK_U_R, FLA_LINK_TRACK,
    FLA_LINK_JBMPL_L, FLA_LINK_JBMP_L_R, FLA_LINK_JBMPU_L, FLA_LINK_JBMP_U_R
};

/* Joints of the record's joints array (not the order of the joint table,
   where L_SHOCK is entry 7 and R_SHOCK entry 18). */
enum fla_susp_joint {
    FLA_J002 = 0, FLA_J023, FLA_J003, FLA_J024, FLA_J009, FLA_J011, FLA_J010, FLA_J012, FLA_J032, FLA_J022,
    FLA_J033, FLA_J020, FLA_L_SHOCK, FLA_R_SHOCK, FLA_J030, FLA_J028, FLA_J031, FLA_J029, FLA_L_BUMPER,
    FLA_R_BUMPER, FLA_J014, FLA_J015, FLA_J025
};

typedef struct sFiveLinkAxle_Suspension {
    double points[FLA_SUSP_POINT_COUNT][3];   /* fla_susp_point order; part units */
    bool mirror_opposite_track;   /* build derives the opposite track inner point by mirroring */
    bool mirror_bump_stops;       /* build derives the two bump-stop mirrors by mirroring */
    double plane_origin[3];       /* a point of the mirror plane */
    double plane_normal[3];       /* its normal, any length */
    tag_t mechanism;
    tag_t links[FLA_SUSP_LINK_COUNT];    /* fla_susp_link order */
    tag_t joints[FLA_SUSP_JOINT_COUNT];  /* fla_susp_joint order */
} sFiveLinkAxle_Suspension;

// 101, the number of slots of the flat name table.
CARVELL_CPP_EXPORT int HM_VD_FLA_SUSP_ask_num_of_names();
// Copies the name of slot n (0 to 100; possibly "") into name (at least
// FLA_SUSP_NAME_SIZE bytes); "" for n out of range.
CARVELL_CPP_EXPORT void HM_VD_FLA_SUSP_ask_nth_name(int n, char* name);
// Entry n of the link table (0 to 14), of the joint table (0 to 22); "" out of range.
CARVELL_CPP_EXPORT void HM_VD_FLA_SUSP_ask_nth_linkname(int n, char* name);
CARVELL_CPP_EXPORT void HM_VD_FLA_SUSP_ask_nth_jointname(int n, char* name);
// The link table (15 names) and the joint table (23 names) themselves.
CARVELL_CPP_EXPORT const char* const* HM_VD_FLA_SUSP_ask_links_name();
CARVELL_CPP_EXPORT const char* const* HM_VD_FLA_SUSP_ask_joints_name();

// Zeroes the ten hard points, takes the mirror plane from the vehicle
// coordinate system, mirrors every point, clears the flags and the
// identifiers. 0; -1 for a null record.
CARVELL_CPP_EXPORT int HM_VD_FLA_SUSP_initial(sFiveLinkAxle_Suspension* susp);
// Builds the named points (each with its mirror) and, when they all were
// built, the lines. 0 or the first failing point's code; -1 for a null
// record, without a work part, or with a NaN or infinite hard point or
// plane value (nothing built).
CARVELL_CPP_EXPORT int HM_VD_FLA_SUSP_build_structure(sFiveLinkAxle_Suspension* susp);
// Builds the mechanism, the 15 links from the template's lines and the 23
// joints (a template joint built before is replaced), the shocks' motion
// inputs, and the shocks as articulation drivers. 0; -1 for a null record
// or a missing line; else the first failing link's or joint's code (nothing
// later is built and the drivers are not set).
CARVELL_CPP_EXPORT int HM_VD_FLA_SUSP_build_motion(sFiveLinkAxle_Suspension* susp);
// Deletes the first object of each name of the flat table. 0; -1 for a null record.
CARVELL_CPP_EXPORT int HM_VD_FLA_SUSP_delete_structure(sFiveLinkAxle_Suspension* susp);

// Whether the work part's current mechanism is a five-link axle as the
// template builds it (names, joint types and the links each joint joins,
// and the shocks as articulation drivers). 0 with the answer; -1 with false
// when the motion environment is not initialised or is_fla is null.
CARVELL_CPP_EXPORT int HM_VD_is_fla_template(bool* is_fla);

#endif
