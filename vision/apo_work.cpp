// The A-pillar analysis's working record as this release prepares it: it
// starts zeroed and nothing more is done to it.
#include "vision_apo.h"

namespace carvell::vision {

void apo_prepare_work(ApoWork&) {}

}  // namespace carvell::vision
