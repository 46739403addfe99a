// The 2003 release's corner rule: the largest cross-product component chosen
// without a margin, no parallel test (the crossing is always written), and
// directions compared within 0.001.
#include "../release2006/r2006_offset_corner.h"

namespace carvell::r2006 {

const CornerRule& corner_rule() {
    static constexpr CornerRule rule{0.0, false, 0.001};
    return rule;
}

}  // namespace carvell::r2006
