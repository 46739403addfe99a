/* Short-long-arm suspension template: the named hard points of both sides
 * with their mirror images, the lines of both sides, and a motion mechanism
 * of one side (13 links, 19 joints) with an optional stabilizer bar and an
 * option for a suspension without steering. A jack point 300 below the
 * wheel centreline anchors a two-piece jack link between ground and the
 * wheel centre.
 *
 * Conventions. The caller owns the record: HM_VD_SLA_SUSP_initial prepares
 * it, the caller fills the hard points (and, as it wishes, the mirror
 * points, the flags and the stabilizer components), then builds the
 * structure and the motion; HM_VD_SLA_SUSP_delete_structure deletes by name
 * what the template built. Hard points are absolute coordinates of the work
 * part, in its units; the jack point lies 300 part units below the wheel
 * centreline whatever the units. The mirror plane is the vehicle coordinate
 * system's XZ plane (its origin and Y axis). The stabilizer component array
 * stays the caller's: the template reads it and neither keeps nor frees it.
 * Build structure, build motion and delete structure open a host-API
 * session of their own; initial needs the caller's; the name enquiries need
 * none. Codes: 0 success, the host's code of a refused call, -1 as each
 * contract says. The functions have C linkage. */
#ifndef CARVELL_HM_VD_SLA_SUSP_H
#define CARVELL_HM_VD_SLA_SUSP_H

#include "hm_vd/sla_susp_common.h"

struct sla_suspension_s {
    double points[SLA_SUSP_POINT_COUNT][3];   /* sla_susp_point order; part units */
    bool has_stabilizer;              /* build the stabilizer points, lines, links and joints */
    bool mirror_inner_joint;          /* build derives the opposite inner joint by mirroring */
    bool mirror_stabilizer_bushing;   /* build derives the stabilizer bushing mirror by mirroring */
    double plane_origin[3];           /* a point of the mirror plane */
    double plane_normal[3];           /* its normal, any length */
    double jack_point[3];             /* set by build structure: wheel centreline, z - 300 */
    double jack_point_mirror[3];      /* set by build structure: the jack point mirrored */
    tag_t* stab_components;           /* prototype objects of the stabilizer bar (the caller's) */
    int stab_component_count;
    tag_t mechanism;
    tag_t links[SLA_SUSP_LINK_COUNT];     /* sla_susp_link order */
    tag_t joints[SLA_SUSP_JOINT_COUNT];   /* sla_susp_joint order */
    bool no_steering;                 /* a suspension without steering: no rack link or joint */
};

#endif
