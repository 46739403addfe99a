// Simulation scenarios: the creation of a scenario part from the root part,
// saved or not. Each release defines these exports once (this file in the
// current one).
#include "suspension_motion.h"

#include "farquil.h"
#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "tolvric.h"
#include "toolbox/detail/undo_scope.h"
#include "vornesk.h"

namespace sus = carvell::suspension;

namespace {

// The source and lines the host's errors of these operations name.
constexpr const char* kSource = "hm_vd_motion_util";
constexpr int kCreateLine = 1448;
constexpr int kCreateNosaveLine = 1585;
constexpr const char* kNosaveMarkName = "Create Simulation ";

// Create: a scenario of the name exists.
constexpr int kScenarioExists = 1;

// What the two creations differ in.
struct CreateOptions {
    const char* mark_name;
    bool important_mark;
    bool save;
    int exception_line;
};

// Makes the scenario part from the root part (nothing when the root is a
// scenario part already: *scenario becomes the root). Host exceptions pass.
void derive_scenario(const char* name, bool save, tag_t* scenario) {
    const tag_t root = CONTEXT_ask_root_part();
    if (SFMOD_is_scenario_part(root)) {
        *scenario = root;
        return;
    }
    const tag_t work = HM_ASSEM_ask_work_part();
    SFMOD_session_t* session = SFMOD_enter_scenario();
    const tag_t made = SFMOD_create_scen_from_root(name);
    session->scenario = made;
    SFMOD_add_scenario(name, true);
    (void)KMC_cleanup_motion_part(work);
    if (save) SFMOD__save_scenario(made);
    *scenario = made;
}

int create_scenario(const char* name, tag_t* scenario, const CreateOptions& options) {
    if (!name || !scenario) return sus::kBadInput;
    sus::HostSession session;
    bool exists = false;
    const int searched = sus::find_scenario(name, &exists);
    if (searched != 0) return searched;
    if (exists) return kScenarioExists;

    tag_t made = 0;
    int status = 0;
    {
        carvell::detail::UndoScope mark(UNDO_visible, options.mark_name);
        if (options.important_mark) (void)UNDO_KW_set_mark_importance(mark.mark(), nullptr);
        status = carvell::detail::run_step(mark, kSource, options.exception_line, [&] {
            derive_scenario(name, options.save, &made);
            return 0;
        });
        mark.keep();
    }
    if (status != 0) return status;
    *scenario = made;
    const int set = HM_ASSEM_set_work_part(made);
    if (set != 0 || !options.save) return set;
    return HM_PART_save(made);
}

}  // namespace

int HM_VD_MOTION_create_scenario(char* name, tag_t* scenario) {
    return create_scenario(name, scenario, CreateOptions{nullptr, true, true, kCreateLine});
}

int HM_VD_MOTION_create_scenario_nosave(char* name, tag_t* scenario) {
    return create_scenario(name, scenario, CreateOptions{kNosaveMarkName, false, false, kCreateNosaveLine});
}

