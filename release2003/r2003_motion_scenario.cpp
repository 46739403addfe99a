// The 2003 release's simulation scenarios: scenario file names read as plain
// leaf names, and the creation in one host call, without an undo mark, the
// new scenario part then made the work part and saved.
#include "suspension/suspension_motion.h"

#include "hm_vd_motion.h"
#include "omvra.h"

namespace carvell::suspension {

bool scenario_names_decoded() { return false; }

}  // namespace carvell::suspension

namespace sus = carvell::suspension;

int HM_VD_MOTION_create_scenario(char* name, tag_t* scenario) {
    if (!name || !scenario) return sus::kBadInput;
    sus::HostSession session;
    bool exists = false;
    if (const int searched = sus::find_scenario(name, &exists)) return searched;
    // A scenario of the name exists.
    if (exists) return 1;
    tag_t made = 0;
    const int created = HM_SF_create_scenario(name, &made);
    if (created != 0) return created;
    *scenario = made;
    if (const int set = HM_ASSEM_set_work_part(made)) return set;
    if (const int saved = HM_PART_save(made)) return saved;
    return created;
}
