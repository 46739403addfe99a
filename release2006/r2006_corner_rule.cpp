// The 2006 release's corner rule: the largest cross-product component chosen
// with a margin of 1e-10, parallel lines refused, directions compared within
// 0.0001.
#include "r2006_offset_corner.h"

namespace carvell::r2006 {

const CornerRule& corner_rule() {
    static constexpr CornerRule rule{1e-10, true, 0.0001};
    return rule;
}

}  // namespace carvell::r2006
