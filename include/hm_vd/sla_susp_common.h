/* What the short-long-arm template's headers share in every release: the
 * name table's size, the order of the record's hard points, links and
 * joints, and the template's functions. The record itself is declared by
 * hm_vd_sla_susp.h, in each release's form. */
#ifndef CARVELL_HM_VD_SLA_SUSP_COMMON_H
#define CARVELL_HM_VD_SLA_SUSP_COMMON_H

#include "carvell_export.h"
#include "host_types.h"

#include <stdbool.h>

#define SLA_SUSP_NAME_SLOTS 199   /* slots of the name table */
#define SLA_SUSP_NAME_SIZE 38     /* longest name (37) and its terminator */
#define SLA_SUSP_LINK_COUNT 13
#define SLA_SUSP_JOINT_COUNT 19
#define SLA_SUSP_POINT_COUNT 32

/* Hard points of the record: twelve (point, mirror) pairs, the inner drive
 * joint, the two stabilizer link points with their mirrors, the stabilizer
 * bushing, the opposite inner joint (the inner drive joint's mirror) and the
 * stabilizer bushing's mirror. */
enum sla_susp_point {
    SLA_BALL_JOINT_LOWER = 0,
    SLA_BALL_JOINT_LOWER_MIRROR,
    SLA_FRONT_BUSHING_LOWER,
    SLA_FRONT_BUSHING_LOWER_MIRROR,
    SLA_REAR_BUSHING_LOWER,
    SLA_REAR_BUSHING_LOWER_MIRROR,
    SLA_BALL_JOINT_UPPER,
    SLA_BALL_JOINT_UPPER_MIRROR,
    SLA_FRONT_BUSHING_UPPER,
    SLA_FRONT_BUSHING_UPPER_MIRROR,
    SLA_REAR_BUSHING_UPPER,
    SLA_REAR_BUSHING_UPPER_MIRROR,
    SLA_LOWER_SHOCK_CENTER,
    SLA_LOWER_SHOCK_CENTER_MIRROR,
    SLA_UPPER_SHOCK_CENTER,
    SLA_UPPER_SHOCK_CENTER_MIRROR,
    SLA_WHEEL_CENTERLINE,
    SLA_WHEEL_CENTERLINE_MIRROR,
    SLA_OUTER_DRIVE_JOINT,
    SLA_OUTER_DRIVE_JOINT_MIRROR,
    SLA_TIREROD_OUTER,
    SLA_TIREROD_OUTER_MIRROR,
    SLA_TIREROD_INNER,
    SLA_TIREROD_INNER_MIRROR,
    SLA_INNER_DRIVE_JOINT,
    SLA_UPPER_STABILIZER_LINK,
    SLA_UPPER_STABILIZER_LINK_MIRROR,
    SLA_LOWER_STABILIZER_LINK,
    SLA_LOWER_STABILIZER_LINK_MIRROR,
    SLA_STABILIZER_BUSHING,
    SLA_OPPOSITE_INNER_JOINT,
    SLA_STABILIZER_BUSHING_MIRROR
};

/* Links of the record's links array. */
enum sla_susp_link {
    SLA_LINK_UP_JAC = 0, SLA_LINK_LOW_JAC, SLA_LINK_KNUCK, SLA_LINK_UPP_CNTRL, SLA_LINK_LWR_CNTRL,
    SLA_LINK_UP_SHK, SLA_LINK_LOW_SHK, SLA_LINK_OUT, SLA_LINK_OUT_STR, SLA_LINK_TRANS, SLA_LINK_STEER,
    SLA_LINK_STABLINK, SLA_LINK_STAB
};

/* Joints of the record's joints array. */
enum sla_susp_joint {
    SLA_J_LOW_JAC = 0, SLA_J_JAC_CENTER, SLA_J_WHEEL_CENTER, SLA_J_OUTER_DRIVE, SLA_J_BALL_UPPER,
    SLA_J_BUSHING_UPPER, SLA_J_BALL_LOWER, SLA_J_BUSHING_LOWER, SLA_J_TIREROD_OUTER, SLA_J_TIREROD_INNER,
    SLA_J_INNER_DRIVE, SLA_J_UP_SHK, SLA_J_LWR_SHK, SLA_J_SHK_CENTER, SLA_J_TRANS, SLA_J_STEER,
    SLA_J_LOWER_STAB, SLA_J_UPPER_STAB, SLA_J_STAB_BUSHING
};

typedef struct sla_suspension_s sla_suspension_s;

/* 199, the number of slots of the name table. */
CARVELL_C_EXPORT int HM_VD_SLA_SUSP_ask_num_of_names(void);
/* Copies the name of slot n (0 to 198; possibly "") into name (at least
 * SLA_SUSP_NAME_SIZE bytes); "" for n out of range. */
CARVELL_C_EXPORT void HM_VD_SLA_SUSP_ask_nth_name(int n, char* name);

/* Clears no_steering (where the record has it), zeroes the 16 hard points (not their mirrors), takes
 * the mirror plane from the vehicle coordinate system, mirrors every point
 * (the opposite inner joint and the stabilizer bushing mirror included),
 * clears has_stabilizer, sets both mirror flags, and clears the component
 * array and its count, the mechanism, the links and the joints. 0; -1 for a
 * null record. */
CARVELL_C_EXPORT int HM_VD_SLA_SUSP_initial(sla_suspension_s* susp);
/* Builds the named points (each with its mirror; the stabilizer's only with
 * has_stabilizer), the jack point and its mirror and, when they all were
 * built, the lines of both sides. 0 or the first failing point's code; -1
 * for a null record, without a work part, or with a NaN or infinite hard
 * point or plane value (nothing built). */
CARVELL_C_EXPORT int HM_VD_SLA_SUSP_build_structure(sla_suspension_s* susp);
/* Builds the mechanism ("SLA_SUSP_MECH", or "SLA_NO_STEERING_SUSP_MECH"
 * with no_steering, where the record has it), the links and the joints of the modelled side (a
 * template joint built before is replaced), the shock's motion input, and
 * the shock and (with steering) the rack as articulation drivers. 0; -1 for
 * a null record, with has_stabilizer a component count below 0 or above
 * 1000 or one with no array or beyond its array (an SM_alloc'd array is held
 * against its size; nothing built), or a missing line; else the first failing link's or joint's code
 * (nothing later is built and the drivers are not set). */
CARVELL_C_EXPORT int HM_VD_SLA_SUSP_build_motion(sla_suspension_s* susp);
/* Deletes the first object of each name of the table, slot by slot (a name
 * in two slots loses its first two objects). The record's identifiers and
 * the mechanism are kept. 0; -1 for a null record. */
CARVELL_C_EXPORT int HM_VD_SLA_SUSP_delete_structure(sla_suspension_s* susp);

#endif
