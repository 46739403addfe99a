// The A-pillar analysis's working record as the 2006 release prepares it:
// its context cleared, which leaves the reference point R as it was. The
// record is zeroed first, so that R is never read unset.
#include "r2006_apo_work.h"

namespace carvell::r2006 {

void apo_clear_context(vision::ApoWork* w) {
    w->mode = 0;
    w->side = 0;
    for (double& v : w->P) v = 0.0;
    for (double& v : w->rot) v = 0.0;
}

}  // namespace carvell::r2006

namespace carvell::vision {

void apo_prepare_work(ApoWork& w) {
    w = ApoWork{};
    r2006::apo_clear_context(&w);
}

}  // namespace carvell::vision
