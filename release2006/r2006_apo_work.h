// The 2006 release's clearing of the A-pillar analysis's working record.
#ifndef CARVELL_RELEASE2006_R2006_APO_WORK_H
#define CARVELL_RELEASE2006_R2006_APO_WORK_H

#include "vision/vision_apo.h"

namespace carvell::r2006 {

// Sets to zero the record's first two int32 fields (mode, side), the three
// doubles that follow (the pivot P) and the four doubles of its rotation
// block; the three doubles between (the reference point R) and the
// tolerances are left.
void apo_clear_context(vision::ApoWork* w);

}  // namespace carvell::r2006

#endif
