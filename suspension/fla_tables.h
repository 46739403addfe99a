// The five-link-axle template's name tables: the flat table of every name
// it creates (101 slots, empty ones ""), the link table and the joint table,
// and the joint table of the recognition (expected host type and links).
#ifndef CARVELL_SUSPENSION_FLA_TABLES_H
#define CARVELL_SUSPENSION_FLA_TABLES_H

#include "hm_vd_fla_susp.h"

namespace carvell::suspension {

extern const char* const kFlaNames[FLA_SUSP_NAME_SLOTS];
extern const char* const kFlaLinkNames[FLA_SUSP_LINK_COUNT];
extern const char* const kFlaJointNames[FLA_SUSP_JOINT_COUNT];

// Slots of the flat table: the hard points' names (slot of point 2k is k,
// of its mirror 30 + k), and the lines.
constexpr int kFlaPointNameSlot = 0;
constexpr int kFlaMirrorNameSlot = 30;

// The name of a hard point of the record (fla_susp_point).
const char* fla_point_name(int point);

// What the recognition expects of each joint of the joint table: its host
// type and the names of the two links it joins ("GROUND" for none).
struct FlaExpectedJoint {
    int type;
    const char* links[2];
};
extern const FlaExpectedJoint kFlaExpectedJoints[FLA_SUSP_JOINT_COUNT];

}  // namespace carvell::suspension

#endif
