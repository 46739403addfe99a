// The articulation drivers of the current mechanism: the joints whose
// motion driver is of the articulation kind.
#include "suspension_motion.h"

#include "hm_vd_motion.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "tolvric.h"

#include <vector>

namespace sus = carvell::suspension;

int HM_VD_MOTION_ask_articulation_drive_joints(int* count, tag_t** joints) {
    if (!count || !joints) return sus::kBadInput;
    sus::HostSession session;
    *count = 0;
    *joints = nullptr;
    tag_t mechanism = 0;
    (void)KMC_get_current_mech_tag(&mechanism);
    carvell::detail::HostList driven;
    (void)KMC_locate_driver_joints(mechanism, driven.out());
    std::vector<tag_t> articulated;
    for (tag_t joint : driven.items()) {
        KMC_motion_driver_t driver;
        (void)KMC_init_motion_driver_data(&driver);
        if (KMC_get_motion_driver(joint, &driver) == 0 && driver.kind == KMC_DRIVER_ARTICULATION)
            articulated.push_back(joint);
    }
    if (articulated.empty()) return sus::kOk;
    auto* array = static_cast<tag_t*>(SM_alloc(articulated.size() * sizeof(tag_t)));
    if (!array) return sus::kBadInput;
    for (size_t i = 0; i < articulated.size(); ++i) array[i] = articulated[i];
    *count = static_cast<int>(articulated.size());
    *joints = array;
    return sus::kOk;
}
