// MacPherson strut suspension template: named hard points with their mirror
// images, lines, and a motion mechanism of 17 links and 25 joints for both
// sides, with an optional stabilizer bar whose bar links are made from
// occurrences of the caller's stabilizer components.
//
// Conventions. The caller owns the record: HM_VD_MAC_SUSP_initial prepares
// it, the caller fills the hard points (and, as it wishes, mirror points,
// the flags and the stabilizer components), then builds the structure and
// the motion; HM_VD_MAC_SUSP_delete_structure deletes by name what the
// template built (the record's identifiers and the mechanism stay). Hard
// points are absolute coordinates of the work part, in its units. The
// mirror plane is the vehicle coordinate system's XZ plane (its origin and
// Y axis). Every name comes from the template's name table. Build
// structure, build motion and delete structure open a host-API session of
// their own; initial needs the caller's; the name enquiries need none.
//
// Stabilizer components: the bar link STAB is made of the first
// occurrence in the work part of each of stab_components, STAB_M of
// stab_components_mirror's (components without an occurrence are passed
// over). A bar of one piece is given on the first side alone: STAB_M stays
// 0 and both stabilizer links join STAB. With has_stabilizer, build motion
// takes over both component arrays when it reaches the bar links (after
// every other link was made): the caller allocates them with the host's
// memory manager (SM_alloc); build motion frees each array whose count is
// above 0 (SM_free) and clears its pointer and count, whatever the outcome.
// A record whose arrays are still set after a failed build motion keeps
// them: they are still the caller's.
// Codes: 0 success, the host's code of a refused call, -1 as each contract
// says.
#ifndef CARVELL_HM_VD_MAC_SUSP_H
#define CARVELL_HM_VD_MAC_SUSP_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

#define MAC_SUSP_NAME_SLOTS 200   /* slots of the name table */
#define MAC_SUSP_NAME_SIZE 38     /* longest name (37) and its terminator */
#define MAC_SUSP_LINK_COUNT 17
#define MAC_SUSP_JOINT_COUNT 25
#define MAC_SUSP_POINT_COUNT 26

/* Hard points of the record: three (point, mirror) pairs, the inner drive
   joint, eight pairs, then the stabilizer bushing, the opposite inner joint
   and the opposite bushing. */
enum mac_susp_point {
    MAC_BOTTOM_OF_STRUT = 0,
    MAC_BOTTOM_OF_STRUT_MIRROR,
    MAC_BALL_JOINT,
    MAC_BALL_JOINT_MIRROR,
    MAC_OUTER_DRIVE_JOINT,
    MAC_OUTER_DRIVE_JOINT_MIRROR,
    MAC_INNER_DRIVE_JOINT,
    MAC_WHEEL_CENTERLINE,
    MAC_WHEEL_CENTERLINE_MIRROR,
    MAC_TIREROD_OUTER,
    MAC_TIREROD_OUTER_MIRROR,
    MAC_TIREROD_INNER,
    MAC_TIREROD_INNER_MIRROR,
    MAC_STRUT_CENTER,
    MAC_STRUT_CENTER_MIRROR,
    MAC_BUSHING_FRONT,
    MAC_BUSHING_FRONT_MIRROR,
    MAC_BUSHING_REAR,
    MAC_BUSHING_REAR_MIRROR,
    MAC_UPPER_STABILIZER_LINK,
    MAC_UPPER_STABILIZER_LINK_MIRROR,
    MAC_LOWER_STABILIZER_LINK,
    MAC_LOWER_STABILIZER_LINK_MIRROR,
    MAC_STABILIZER_BUSHING,
    MAC_OPPOSITE_INNER_JOINT,
    MAC_OPPOSITE_BUSHING
};

/* Links of the record's links array. */
enum mac_susp_link {
    MAC_LINK_STRUTUPPER = 0, MAC_LINK_STRUTUPPER_M, MAC_LINK_KNUCK, MAC_LINK_KNUCK_M, MAC_LINK_LCA, MAC_LINK_LCA_M,
    MAC_LINK_TIREROD, MAC_LINK_TIREROD_M, MAC_LINK_HSHAFT, MAC_LINK_HSHAFT_M, MAC_LINK_STABLINK,
    MAC_LINK_STABLINK_M, MAC_LINK_ENGOUT, MAC_LINK_ENGOUT_M, MAC_LINK_RACK, MAC_LINK_STAB, MAC_LINK_STAB_M
};

/* Joints of the record's joints array. */
enum mac_susp_joint {
    MAC_J_STRUTUPPER = 0, MAC_J_STRUTUPPER_M, MAC_J_STRUTCENTER, MAC_J_STRUTCENTER_M, MAC_J_OUTERDRIVE,
    MAC_J_OUTERDRIVE_M, MAC_J_INNERDRIVE, MAC_J_INNERDRIVE_M, MAC_J_TIREROD_OUTER, MAC_J_TIREROD_OUTER_M,
    MAC_J_TIREROD_INNER, MAC_J_TIREROD_INNER_M, MAC_J_BALL, MAC_J_BALL_M, MAC_J_BUSHING, MAC_J_BUSHING_M,
    MAC_J_ENGOUT, MAC_J_ENGOUT_M, MAC_J_RACK, MAC_J_LOWER_STAB, MAC_J_LOWER_STAB_M, MAC_J_UPPER_STAB,
    MAC_J_UPPER_STAB_M, MAC_J_STAB_BUSHING, MAC_J_STAB_BUSHING_M
};

typedef struct sMacpherson_Suspension {
    double points[MAC_SUSP_POINT_COUNT][3];   /* mac_susp_point order; part units */
    bool has_stabilizer;              /* builds the stabilizer points, lines, links and joints */
    bool mirror_inner_joint;          /* build derives the opposite inner joint by mirroring */
    bool mirror_stabilizer_bushing;   /* build derives the opposite bushing by mirroring */
    double plane_origin[3];           /* a point of the mirror plane */
    double plane_normal[3];           /* its normal, any length */
    tag_t mechanism;
    tag_t links[MAC_SUSP_LINK_COUNT];     /* mac_susp_link order */
    tag_t joints[MAC_SUSP_JOINT_COUNT];   /* mac_susp_joint order */
    tag_t* stab_components;               /* prototypes of the bar on the first side (SM_alloc'd) */
    int stab_components_count;
    tag_t* stab_components_mirror;        /* the same for the mirrored side (SM_alloc'd) */
    int stab_components_mirror_count;
} sMacpherson_Suspension;

// 200, the number of slots of the name table.
CARVELL_CPP_EXPORT int HM_VD_MAC_SUSP_ask_num_of_names();
// Copies the name of slot n (0 to 199; possibly "") into name (at least
// MAC_SUSP_NAME_SIZE bytes); "" for n out of range.
CARVELL_CPP_EXPORT void HM_VD_MAC_SUSP_ask_nth_name(int n, char* name);

// Zeroes the 13 hard points, takes the mirror plane from the vehicle
// coordinate system, computes every mirror point (the opposite inner joint
// and the opposite bushing included), clears has_stabilizer, sets both
// mirror flags, and clears the identifiers and the component arrays (not
// freeing them). 0; -1 for a null record.
CARVELL_CPP_EXPORT int HM_VD_MAC_SUSP_initial(sMacpherson_Suspension* susp);
// Builds the named points (each with its mirror; the stabilizer's only
// with has_stabilizer) and, when they all were built, the lines. 0 or the
// first failing point's code; -1 for a null record, without a work part,
// or with a NaN or infinite hard point or plane value (nothing built).
CARVELL_CPP_EXPORT int HM_VD_MAC_SUSP_build_structure(sMacpherson_Suspension* susp);
// Builds the mechanism, the links from the template's lines (and, with
// has_stabilizer, the bar links from the components' occurrences in the
// work part; components without one are passed over), the joints (a
// template joint built before is replaced), and the articulation drivers
// on J_STRUTCENTER, J_STRUTCENTER_M and J_RACK. J_STAB_BUSHING_M is made
// only when the two component counts add up to more than 1 and the
// mirrored side has a bar link of its own. 0; -1 for a
// null record, with has_stabilizer a component count below 0 or above 1000,
// a count with no array or beyond its array (an SM_alloc'd array is held
// against its size), or one array given for both sides (nothing built, the
// arrays stay the caller's); a missing line, or a missing bar link (the first side's
// without components or occurrences, the mirrored side's when none of its
// components has an occurrence);
// else the first failing link's or joint's code (nothing later is built and
// the drivers are not set).
CARVELL_CPP_EXPORT int HM_VD_MAC_SUSP_build_motion(sMacpherson_Suspension* susp);
// Deletes the first object of each name of the table. 0; -1 for a null record.
CARVELL_CPP_EXPORT int HM_VD_MAC_SUSP_delete_structure(sMacpherson_Suspension* susp);

#endif
